#include "clocks/signal_transmitter.h"

#include "clocks/signal_view.h"
#include "platform/log.h"
#include "platform/message_target.h"
#include "platform/timer_resolution.h"

namespace vantorel {
namespace {

using platform::kFileTimeUnitsPerMs;
using platform::kFileTimeUnitsPerSecond;

constexpr int64_t kFrameLengthMs = 40 * SignalTransmitter::kStepPeriod.count();  // 2000
constexpr int64_t kMinimumFirstDelayMs = 100;

}  // namespace

// A step is never taken early: the platform's sleep does not end before its time.
using platform::SleepUntil;

// Whoever waits has had its level up to kShowLead early: that stretch is spun, anything more
// is slept.
void WaitUntilDue(SignalView::SteadyClock::time_point due) {
  constexpr auto kSpin = SignalTransmitter::kShowLead;
  if (due - SignalView::SteadyClock::now() > kSpin) SleepUntil(due - kSpin);
  while (SignalView::SteadyClock::now() < due) {
  }
}

FramePlan PlanFrame(platform::FileTime reading) {
  const auto ms = static_cast<int64_t>(reading % kFileTimeUnitsPerSecond / kFileTimeUnitsPerMs);
  int64_t lead = kFrameLengthMs / 1000 + 2;
  int64_t first = 2000 - ms - kFrameLengthMs % 1000;
  if (first < kMinimumFirstDelayMs) {
    first += 1000;
    lead += 1;
  }
  const auto belowMs = static_cast<int64_t>(reading % kFileTimeUnitsPerMs);
  return FramePlan{static_cast<uint32_t>(first),
                   std::chrono::milliseconds(first) - std::chrono::nanoseconds(belowMs * 100),
                   reading + static_cast<uint64_t>(lead) * kFileTimeUnitsPerSecond};
}

SignalTransmitter::SignalTransmitter(const platform::Clock& clock) : m_clock(clock) {}

SignalTransmitter::~SignalTransmitter() {
  {
    std::lock_guard guard(m_wakeMutex);
    m_abort = true;
  }
  m_wake.notify_all();
  if (m_worker.joinable()) m_worker.join();
}

bool SignalTransmitter::StartTransmission(const int64_t* calibrationOffset,
                                          const int64_t* zoneShift, int notCalibrated) {
  if (m_busy.exchange(true)) return false;
  if (m_worker.joinable()) m_worker.join();  // the last one has ended; this only reaps it

  // The steady clock is read with the frame's clock: the worker's start and the message below
  // must not delay the first step.
  const SteadyClock::time_point readAt = SteadyClock::now();
  platform::FileTime reading = 0;
  if (calibrationOffset != nullptr && zoneShift != nullptr) {
    reading = m_clock.UtcNow() + static_cast<uint64_t>(*calibrationOffset) +
              static_cast<uint64_t>(*zoneShift);
  } else {
    reading = m_clock.LocalNow();
  }
  // Started goes out before the worker exists, so it always comes before finished.
  Send(kMsgSignalStarted);
  try {
    m_worker = std::thread(&SignalTransmitter::Worker, this, reading, readAt, notCalibrated != 0);
  } catch (const std::system_error&) {
    platform::Log("cannot start the signal worker");
    m_busy = false;
    Send(kMsgSignalFinished);
    return false;
  }
  return true;
}

void SignalTransmitter::Worker(platform::FileTime reading, SteadyClock::time_point start,
                               bool notCalibrated) {
  const platform::FineTimerResolution fine;
  const FramePlan plan = PlanFrame(reading);
  const SteadyClock::time_point firstDue =
      start + std::chrono::duration_cast<SteadyClock::duration>(plan.firstDelay);
  m_frameTime = plan.frameTime;
  m_firstDueNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(firstDue.time_since_epoch()).count();
  m_step = 0;

  // Each step sleeps until its own due time, counted from the first: one wake-up per step,
  // and a late one delays only its own step, never merges it with the next or shifts the
  // ones after it.
  bool completed = false;
  for (int step = 1; !completed; ++step) {
    const SteadyClock::time_point due = firstDue + kStepPeriod * (step - 1);
    {
      std::unique_lock lock(m_wakeMutex);
      m_wake.wait_until(lock, due - kShowLead, [this] { return m_abort.load(); });
    }
    if (m_abort) break;
    completed = DoStep(notCalibrated, due);
  }

  if (completed) {
    const double took =
        std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
    platform::Log("signal: frame ended %.3f ms after its worker started", took);
    std::lock_guard guard(m_mutex);
    m_probeMs.push_back(took);
  }
  if (!m_abort) {
    // Busy until the receiver has handled finished: a start in between is refused rather
    // than waiting on this worker while it waits on the receiver.
    Send(kMsgSignalFinished);
    m_busy = false;
  }
}

bool SignalTransmitter::DoStep(bool notCalibrated, SteadyClock::time_point due) {
  const int step = m_step + 1;
  SignalView* view = m_view;
  if (step > kFrameSteps) {
    SleepUntil(due);
    m_step = 0;
    if (view != nullptr) view->RequestRepaint();
    return true;
  }
  uint8_t before = 0;
  uint8_t now = 0;
  {
    std::lock_guard guard(m_mutex);
    if (step == 1) BuildFrame(TimeBlock(FrameTime(), notCalibrated), &m_levels);
    before = m_levels[static_cast<size_t>(step - 1)];
    now = m_levels[static_cast<size_t>(step)];
  }
  m_step = step;
  if (before != now && view != nullptr) {
    view->ShowLevel(now, due);
  } else {
    SleepUntil(due);  // nothing to show: only the step's time to keep
  }
  std::lock_guard guard(m_mutex);
  m_stepTimes[static_cast<size_t>(step)] = SteadyClock::now();
  return false;
}

void SignalTransmitter::Send(uint32_t message) const {
  if (MessageTarget* target = m_target.load()) target->SendMessage(message, 0, 0);
}

int SignalTransmitter::CurrentLevel() const {
  std::lock_guard guard(m_mutex);
  return m_levels[static_cast<size_t>(m_step.load())];
}

SignalLevels SignalTransmitter::Levels() const {
  std::lock_guard guard(m_mutex);
  return m_levels;
}

platform::SystemTime SignalTransmitter::FrameTime() const {
  return platform::FileTimeToSystemTime(m_frameTime);
}

SignalTransmitter::SteadyClock::time_point SignalTransmitter::StepDue(int step) const {
  return SteadyClock::time_point(std::chrono::nanoseconds(m_firstDueNs.load())) +
         kStepPeriod * (step - 1);
}

SignalTransmitter::SteadyClock::time_point SignalTransmitter::StepTime(int step) const {
  std::lock_guard guard(m_mutex);
  return m_stepTimes[static_cast<size_t>(step)];
}

std::vector<double> SignalTransmitter::ProbeMs() const {
  std::lock_guard guard(m_mutex);
  return m_probeMs;
}

}  // namespace vantorel
