#pragma once

namespace vantorel {

// Where the light signal is shown. ShowLevel paints at once, on the transmitting thread, and
// returns when the level is on its way to the screen; RequestRepaint asks for an ordinary
// repaint of the current level later.
class SignalView {
 public:
  virtual ~SignalView() = default;
  virtual void ShowLevel(int level) = 0;
  virtual void RequestRepaint() = 0;
};

}  // namespace vantorel
