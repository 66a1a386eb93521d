#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "platform/manual_reset_event.h"
#include "platform/precision_timer.h"
#include "platform/system_time.h"

namespace vantorel {

class MessageTarget;

// The clock engine: keeps the correction and the shift to the displayed zone, and ticks just
// after each second boundary of the corrected time, sending the time texts to its target.
// The corrected time is UTC + correction + zone shift: the host's own zone and its daylight
// saving never enter.
class DigitalClock {
 public:
  static constexpr uint8_t kCorrectionPresent = 1 << 0;
  static constexpr uint8_t kRunning = 1 << 2;
  static constexpr const char* kTimePlaceholder = "--:--:--";
  static constexpr const char* kDatePlaceholder = "----------";

  explicit DigitalClock(const platform::Clock& clock = platform::SystemClock());
  // Ends the tick thread and every timer. Clear the target first if it handles messages on
  // the thread that destroys the engine.
  ~DigitalClock();
  DigitalClock(const DigitalClock&) = delete;
  DigitalClock& operator=(const DigitalClock&) = delete;

  void SetTarget(MessageTarget* target) { m_target = target; }
  // With a value: the correction in 100 ns units, marked present; without: 0, not present.
  // Either way the next tick sends the date again; the target hears kMsgClockCorrection.
  bool SetCorrection(const int64_t* correction);
  // The displayed zone's bias in minutes (UTC = zone time + bias).
  void SetZoneBias(int32_t biasMinutes);
  bool GetCorrectedTime(platform::SystemTime* time) const;
  platform::FileTime CorrectedNow() const;

  bool Start();
  void Stop();
  // One tick: date and weekday when the date changed, then the time. The tick thread's work,
  // public so it can be driven directly.
  void Tick();

  int64_t Correction() const { return m_correction; }
  int64_t ZoneShift() const { return m_zoneShift; }
  uint8_t Flags() const { return m_flags; }

 private:
  enum class ThreadState { kNone, kRunning, kExiting };

  void TickThread();
  void OnPeriod(platform::PrecisionTimer::TimerId self);
  void OnAlignment(platform::PrecisionTimer::TimerId self);
  // Time to the next second boundary of the corrected time, or zero when the time lies
  // within the alignment window after one.
  std::chrono::nanoseconds TimeToBoundary() const;
  std::chrono::nanoseconds SinceBoundary() const;
  void Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

  const platform::Clock& m_clock;
  std::atomic<int64_t> m_correction{0};
  std::atomic<int64_t> m_zoneShift{0};
  std::atomic<uint8_t> m_flags{0};
  std::atomic<MessageTarget*> m_target{nullptr};
  std::atomic<uint32_t> m_lastDate{0};  // yyyymmdd of the last date sent; 0 = none

  std::mutex m_controlMutex;  // one Start or Stop at a time, whichever thread calls
  std::mutex m_threadMutex;
  bool m_stopRequest = false;
  ThreadState m_threadState = ThreadState::kNone;
  std::thread m_thread;
  platform::ManualResetEvent m_threadEnded;
  platform::ManualResetEvent m_tickEvent;
  std::atomic<bool> m_timersEnabled{false};
  platform::PrecisionTimer m_timer;  // last: its thread ends before the rest goes
};

}  // namespace vantorel
