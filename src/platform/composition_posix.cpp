#include "platform/composition.h"

namespace vantorel::platform {

// Here a compositing manager is a client of the X server like any other: only the X server
// knows whether one runs.
std::optional<bool> SystemComposites() {
  return std::nullopt;
}

}  // namespace vantorel::platform
