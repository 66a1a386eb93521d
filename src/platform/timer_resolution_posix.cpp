#include "platform/timer_resolution.h"

#include <thread>

namespace vantorel::platform {

// Sleeps here wake within microseconds of their time: there is nothing to raise.
FineTimerResolution::FineTimerResolution() = default;
FineTimerResolution::~FineTimerResolution() = default;

void SleepUntil(std::chrono::steady_clock::time_point due) {
  while (std::chrono::steady_clock::now() < due) std::this_thread::sleep_until(due);
}

}  // namespace vantorel::platform
