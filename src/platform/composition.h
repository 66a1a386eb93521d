#pragma once

#include <optional>

namespace vantorel::platform {

// Whether the system itself composites translucent windows, where it says so (the desktop
// window manager on Windows); nothing where that is the windowing system's to tell (X11).
std::optional<bool> SystemComposites();

}  // namespace vantorel::platform
