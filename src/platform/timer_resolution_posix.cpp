#include "platform/timer_resolution.h"

namespace vantorel::platform {

// Sleeps here wake within microseconds of their time: there is nothing to raise.
FineTimerResolution::FineTimerResolution() = default;
FineTimerResolution::~FineTimerResolution() = default;

}  // namespace vantorel::platform
