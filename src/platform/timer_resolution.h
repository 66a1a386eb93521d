#pragma once

namespace vantorel::platform {

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
