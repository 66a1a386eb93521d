#pragma once

#include <chrono>

namespace vantorel::platform {

// Sleeps until the time and never returns before it. On Windows a high-resolution waitable
// timer does the sleeping (a plain sleep there ends on a 15.6 ms tick, or up to a millisecond
// early); where that timer is not to be had, sleeps at the raised resolution below.
void SleepUntil(std::chrono::steady_clock::time_point due);

// While one lives, the system's sleeps and timed waits are as fine as 1 ms. Windows rounds
// them to its 15.6 ms tick otherwise, which would smear the signal's 50 ms steps; the other
// systems are that fine already.
class FineTimerResolution {
 public:
  FineTimerResolution();
  ~FineTimerResolution();
  FineTimerResolution(const FineTimerResolution&) = delete;
  FineTimerResolution& operator=(const FineTimerResolution&) = delete;

 private:
  [[maybe_unused]] bool m_raised = false;  // only where there is something to raise
};

}  // namespace vantorel::platform
