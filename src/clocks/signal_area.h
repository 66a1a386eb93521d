#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>

#include "clocks/signal_transmitter.h"
#include "clocks/signal_view.h"

class QAccessibleInterface;

namespace vantorel {

class MessageTarget;

// The 248 x 360 area that flashes the signal: black or white, a level at a time, and black
// between transmissions.
class SignalArea : public QWidget, public SignalView {
 public:
  explicit SignalArea(QWidget* parent = nullptr,
                      const platform::Clock& clock = platform::SystemClock());
  // Ends a transmission in progress first.
  ~SignalArea() override;

  // Sizes the area to the pictures; without both nothing is painted.
  bool LoadLevelBitmaps(int level0Id, int level1Id);
  void SetTarget(MessageTarget* target) { m_transmitter.SetTarget(target); }
  bool StartTransmission(const int64_t* calibrationOffset, const int64_t* zoneShift,
                         int notCalibrated) {
    return m_transmitter.StartTransmission(calibrationOffset, zoneShift, notCalibrated);
  }
  const SignalTransmitter& Transmitter() const { return m_transmitter; }
  SignalTransmitter& Transmitter() { return m_transmitter; }
  // The level last painted.
  int PaintedLevel() const { return m_painted; }
  // Whether a transmission flashes the area now, as a screen reader is told it: the area is
  // busy from the transmission's start to its end.
  void SetFlashing(bool flashing);
  bool Flashing() const { return m_flashing; }

  // From the transmitting thread: each level is painted at its due time on the window's
  // thread, and the call returns when it is.
  void ShowLevel(int level, SteadyClock::time_point due) override;
  void RequestRepaint() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::atomic<bool> m_closing{false};
  std::atomic<int> m_painted{0};
  bool m_flashing = false;
  int m_shown = 0;  // the level paints show; this window's thread only, so never one too early
  QImage m_levels[2];
  SignalTransmitter m_transmitter;  // last: its worker ends before the rest goes
};

// The area as a screen reader knows it: named, its caution as its description, busy while it
// flashes.
QAccessibleInterface* MakeAccessible(SignalArea* area);

}  // namespace vantorel
