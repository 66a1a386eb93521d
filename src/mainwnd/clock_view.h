#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "controls/skin_geometry.h"
#include "mainwnd/calibration_run.h"
#include "platform/system_time.h"
#include "settings/language.h"

namespace vantorel {

// What the controller shows through the main window. Called from any thread (the clock's
// tick, a calibration run, a transmission); an implementation runs each call on its own
// thread and returns when it is done there, so texts and times passed in need live only for
// the call.
class ClockView {
 public:
  virtual ~ClockView() = default;
  virtual void ShowLanguage(Language language) = 0;
  // The digital time, and the time the hands show; no time: the hands stand still.
  virtual void ShowTime(std::string_view text, const platform::SystemTime* hands) = 0;
  virtual void ShowDate(std::string_view text) = 0;
  // 0 Sunday .. 6 Saturday; none while the clock is stopped.
  virtual void ShowWeekday(std::optional<int> weekday) = 0;
  virtual void ShowCalibrated(bool calibrated) = 0;
  virtual void SetProgressRange(int lower, int upper) = 0;
  virtual void SetProgressPos(int position) = 0;
  virtual void SetProgressMode(BarMode mode) = 0;
  virtual void ShowActions(const ActionStates& states) = 0;
  // A transmission starts or ends: what the eye sees flash, a screen reader is told.
  virtual void ShowTransmitting(bool /*transmitting*/) {}
  // After a failed run: true when the user chose to go on with the computer's own clock.
  virtual bool AskUseComputerClock(Language language) = 0;
  // Runs the call on the view's thread and returns when it is done there. The calls above
  // made inside it run at once.
  virtual void OnViewThread(const std::function<void()>& call) = 0;
};

// The hourly calibration's timer. Its calls come on the thread that owns the controller's
// actions (the window's); tests fire it by hand.
class HourlySchedule {
 public:
  virtual ~HourlySchedule() = default;
  virtual void Start(std::chrono::milliseconds period, std::function<void()> due) = 0;
  virtual void Stop() = 0;
};

}  // namespace vantorel
