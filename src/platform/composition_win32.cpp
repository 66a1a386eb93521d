#include "platform/composition.h"

#include <windows.h>
#include <dwmapi.h>

namespace vantorel::platform {

// Always on from Windows 8; the call still says so, and says no where the desktop window
// manager does not run (a remote session of old).
std::optional<bool> SystemComposites() {
  BOOL enabled = FALSE;
  if (FAILED(::DwmIsCompositionEnabled(&enabled))) return false;
  return enabled != FALSE;
}

}  // namespace vantorel::platform
