#include "clocks/digital_clock.h"

#include <cstdio>

#include "platform/message_target.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using platform::kFileTimeUnitsPerSecond;

constexpr auto kFirstPeriod = 100ms;
constexpr auto kSecond = 1000ms;
constexpr auto kTickWait = 200ms;
constexpr auto kStopWait = 400ms;
// A tick this soon after a boundary counts as on it; later ones re-align.
constexpr auto kAlignmentWindow = 15ms;
constexpr double kUnitsPerMinute = 600'000'000.0;

uint32_t DateKey(const platform::SystemTime& t) {
  return t.wYear * 10000u + t.wMonth * 100u + t.wDay;
}

}  // namespace

DigitalClock::DigitalClock(const platform::Clock& clock) : m_clock(clock) {}

DigitalClock::~DigitalClock() {
  {
    std::lock_guard guard(m_threadMutex);
    m_stopRequest = true;
  }
  m_tickEvent.Set();
  if (m_thread.joinable()) m_thread.join();
}

bool DigitalClock::SetCorrection(const int64_t* correction) {
  if (correction != nullptr) {
    m_correction = *correction;
    m_flags |= kCorrectionPresent;
  } else {
    m_correction = 0;
    m_flags &= static_cast<uint8_t>(~kCorrectionPresent);
  }
  m_lastDate = 0;
  Send(kMsgClockCorrection, 0, 0);
  return true;
}

void DigitalClock::SetZoneBias(int32_t biasMinutes) {
  m_zoneShift = static_cast<int64_t>(-static_cast<double>(biasMinutes) * kUnitsPerMinute);
}

platform::FileTime DigitalClock::CorrectedNow() const {
  // Unsigned arithmetic: a negative correction wraps as the platform's file time does.
  return m_clock.UtcNow() + static_cast<uint64_t>(m_correction.load()) +
         static_cast<uint64_t>(m_zoneShift.load());
}

bool DigitalClock::GetCorrectedTime(platform::SystemTime* time) const {
  if (time == nullptr) return false;
  *time = platform::FileTimeToSystemTime(CorrectedNow());
  return true;
}

void DigitalClock::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
  if (MessageTarget* target = m_target.load()) target->SendMessage(message, wParam, lParam);
}

void DigitalClock::Tick() {
  platform::SystemTime t;
  GetCorrectedTime(&t);
  const uint32_t date = DateKey(t);
  if (m_lastDate.exchange(date) != date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    Send(kMsgClockDate, reinterpret_cast<uintptr_t>(text), 0);
    Send(kMsgClockWeekday, t.wDayOfWeek, 0);
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
  Send(kMsgClockTime, reinterpret_cast<uintptr_t>(text), reinterpret_cast<intptr_t>(&t));
}

bool DigitalClock::Start() {
  std::lock_guard control(m_controlMutex);
  m_flags |= kRunning;
  std::unique_lock lock(m_threadMutex);
  if (m_threadState == ThreadState::kRunning) {
    // A thread that has not yet acted on a stop request simply goes on.
    m_stopRequest = false;
    return true;
  }
  if (m_threadState == ThreadState::kExiting) {
    // It has left its loop and only releases its timers: waiting for it cannot block on a
    // message.
    lock.unlock();
    m_thread.join();
    lock.lock();
  }
  m_stopRequest = false;
  m_threadEnded.Reset();
  m_tickEvent.Reset();  // here, not on the new thread: a Stop right after must not be lost
  try {
    m_thread = std::thread(&DigitalClock::TickThread, this);
  } catch (const std::system_error&) {
    m_threadState = ThreadState::kNone;
    return false;
  }
  m_threadState = ThreadState::kRunning;
  return true;
}

void DigitalClock::Stop() {
  std::lock_guard control(m_controlMutex);
  m_flags &= static_cast<uint8_t>(~(kRunning | kCorrectionPresent));
  bool hadThread = false;
  {
    std::lock_guard guard(m_threadMutex);
    m_stopRequest = true;
    hadThread = m_threadState != ThreadState::kNone;
  }
  m_tickEvent.Set();  // wakes the thread now rather than at its next time-out
  // A thread busy handing a message to this very caller's thread cannot end now; it ends by
  // itself at its next turn, and a later Start picks it up again.
  if (hadThread && m_threadEnded.Wait(kStopWait)) {
    m_thread.join();
    std::lock_guard guard(m_threadMutex);
    m_threadState = ThreadState::kNone;
  }
  Send(kMsgClockTime, reinterpret_cast<uintptr_t>(kTimePlaceholder), 0);
  Send(kMsgClockDate, reinterpret_cast<uintptr_t>(kDatePlaceholder), 0);
  Send(kMsgClockWeekday, 0, 0);
}

void DigitalClock::TickThread() {
  m_timersEnabled = true;
  m_timer.StartPeriodic(kFirstPeriod,
                        [this](platform::PrecisionTimer::TimerId id) { OnPeriod(id); });
  for (;;) {
    const bool signalled = m_tickEvent.Wait(kTickWait);
    std::unique_lock lock(m_threadMutex);
    if (m_stopRequest) {
      m_threadState = ThreadState::kExiting;
      break;
    }
    lock.unlock();
    if (signalled) {
      m_tickEvent.Reset();
      Tick();
    }
  }
  m_timersEnabled = false;
  m_timer.KillAll();
  m_threadEnded.Set();
}

std::chrono::nanoseconds DigitalClock::SinceBoundary() const {
  return std::chrono::nanoseconds(static_cast<int64_t>(CorrectedNow() % kFileTimeUnitsPerSecond) *
                                  100);
}

std::chrono::nanoseconds DigitalClock::TimeToBoundary() const {
  const std::chrono::nanoseconds since = SinceBoundary();
  if (since <= kAlignmentWindow) return std::chrono::nanoseconds::zero();
  // To the 100 ns, so the one-shot lands on the boundary, not up to a millisecond after it.
  return kSecond - since;
}

void DigitalClock::OnPeriod(platform::PrecisionTimer::TimerId self) {
  if (const auto wait = TimeToBoundary(); wait != wait.zero()) {
    m_timer.Kill(self);
    if (m_timersEnabled) {
      m_timer.StartOneShot(wait, [this](platform::PrecisionTimer::TimerId id) { OnAlignment(id); });
    }
  }
  m_tickEvent.Set();
}

void DigitalClock::OnAlignment(platform::PrecisionTimer::TimerId) {
  if (m_timersEnabled) {
    if (const auto wait = TimeToBoundary(); wait != wait.zero()) {
      m_timer.StartOneShot(wait, [this](platform::PrecisionTimer::TimerId id) { OnAlignment(id); });
    } else {
      m_timer.StartPeriodic(kSecond,
                            [this](platform::PrecisionTimer::TimerId id) { OnPeriod(id); });
    }
  }
  m_tickEvent.Set();
}

}  // namespace vantorel
