#pragma once

#include <filesystem>

namespace vantorel::platform {

// The folder of the running executable, or an empty path when it cannot be told.
std::filesystem::path ExecutableDir();

// The base of the user's own configuration by the system's convention: $XDG_CONFIG_HOME here,
// %APPDATA% on Windows; null when it is not set.
const char* UserConfigHome();

}  // namespace vantorel::platform
