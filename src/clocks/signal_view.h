#pragma once

#include <chrono>

namespace vantorel {

// Where the light signal is shown. ShowLevel comes on the transmitting thread a little before
// the level's due time (SignalTransmitter::kShowLead), so that a view which must first reach
// another thread is there in time; the view shows the level at the due time, not before, and
// returns once it is on its way to the screen. RequestRepaint asks for an ordinary repaint of
// the current level later.
class SignalView {
 public:
  using SteadyClock = std::chrono::steady_clock;
  virtual ~SignalView() = default;
  virtual void ShowLevel(int level, SteadyClock::time_point due) = 0;
  virtual void RequestRepaint() = 0;
};

}  // namespace vantorel
