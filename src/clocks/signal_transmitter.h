#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "clocks/signal_frame.h"
#include "clocks/signal_view.h"
#include "platform/clock.h"

namespace vantorel {

class MessageTarget;

// StartTransmission's notCalibrated: whether the frame tells the watch that no server set the
// time (the plain local clock goes out).
inline constexpr int kSignalCalibrated = 0;
inline constexpr int kSignalNotCalibrated = 1;

// When a frame starts and what it carries, for a clock reading (offsets included).
struct FramePlan {
  uint32_t firstDelayMs;  // from the reading to step 1, which falls on a second boundary
  // The same to 100 ns: the reading's fraction of a millisecond taken off, so the first step
  // is due on the boundary itself rather than up to 1 ms after it.
  std::chrono::nanoseconds firstDelay;
  platform::FileTime frameTime;  // the instant step 41 begins: the time the frame encodes
};
FramePlan PlanFrame(platform::FileTime reading);

// Sends one frame of the light signal per transmission: a worker shows the level of each of
// the 41 steps at its due time, 50 ms apart, counted from one fixed start.
class SignalTransmitter {
 public:
  using SteadyClock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kStepPeriod{50};
  // How long before its due time a step's level goes to the view (SignalView).
  static constexpr std::chrono::milliseconds kShowLead{3};

  explicit SignalTransmitter(const platform::Clock& clock = platform::SystemClock());
  // Ends a transmission in progress without notifying anyone: no thread or timer outlives it.
  ~SignalTransmitter();
  SignalTransmitter(const SignalTransmitter&) = delete;
  SignalTransmitter& operator=(const SignalTransmitter&) = delete;

  void SetView(SignalView* view) { m_view = view; }
  void SetTarget(MessageTarget* target) { m_target = target; }

  // With both offsets the frame carries UTC + offset + shift; with either missing, the plain
  // local wall clock. False, and nothing sent, while a transmission runs.
  bool StartTransmission(const int64_t* calibrationOffset, const int64_t* zoneShift,
                         int notCalibrated);

  bool Busy() const { return m_busy; }
  int Step() const { return m_step; }
  // The level the view shows now: that of the current step, dark when idle.
  int CurrentLevel() const;
  SignalLevels Levels() const;
  platform::SystemTime FrameTime() const;
  // When step k (1..41) of the current or last frame is due.
  SteadyClock::time_point StepDue(int step) const;
  // The worker's own record: milliseconds from its start to the end of each frame.
  std::vector<double> ProbeMs() const;
  // When step k (1..41) of the last frame was shown: the view returned its level, or, where
  // the level did not change, the step's time had come. Step k's lateness is
  // StepTime(k) - StepDue(k).
  SteadyClock::time_point StepTime(int step) const;

 private:
  // start: the steady clock read together with the reading.
  void Worker(platform::FileTime reading, SteadyClock::time_point start, bool notCalibrated);
  bool DoStep(bool notCalibrated, SteadyClock::time_point due);
  void Send(uint32_t message) const;

  const platform::Clock& m_clock;
  std::atomic<SignalView*> m_view{nullptr};
  std::atomic<MessageTarget*> m_target{nullptr};
  std::atomic<bool> m_busy{false};
  std::atomic<bool> m_abort{false};
  std::atomic<int> m_step{0};
  std::atomic<int64_t> m_firstDueNs{0};
  std::atomic<platform::FileTime> m_frameTime{0};

  mutable std::mutex m_mutex;  // guards the levels and the probe
  SignalLevels m_levels{};
  std::vector<double> m_probeMs;
  std::array<SteadyClock::time_point, kFrameSteps + 1> m_stepTimes{};

  std::mutex m_wakeMutex;  // with m_wake: an abort cuts the wait for the next step short
  std::condition_variable m_wake;
  std::thread m_worker;
};

// Returns at the due time: it sleeps for all but the last kShowLead and spins that, so a
// sleep's late wake-up does not reach the screen.
void WaitUntilDue(SignalView::SteadyClock::time_point due);

}  // namespace vantorel
