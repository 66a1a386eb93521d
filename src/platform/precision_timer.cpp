#include "platform/precision_timer.h"

#include "platform/timer_resolution.h"

namespace vantorel::platform {

PrecisionTimer::~PrecisionTimer() {
  {
    std::lock_guard guard(m_mutex);
    m_stop = true;
    m_timers.clear();
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

PrecisionTimer::TimerId PrecisionTimer::StartPeriodic(Clock::duration period, Callback callback) {
  if (period < kResolution) period = kResolution;
  return Add(Clock::now() + period, period, std::move(callback));
}

PrecisionTimer::TimerId PrecisionTimer::StartPeriodicAt(Clock::time_point first,
                                                        Clock::duration period, Callback callback) {
  if (period < kResolution) period = kResolution;
  return Add(first, period, std::move(callback));
}

PrecisionTimer::TimerId PrecisionTimer::StartOneShot(Clock::duration delay, Callback callback) {
  if (delay < Clock::duration::zero()) delay = Clock::duration::zero();
  return Add(Clock::now() + delay, Clock::duration::zero(), std::move(callback));
}

PrecisionTimer::TimerId PrecisionTimer::Add(Clock::time_point first, Clock::duration period,
                                            Callback callback) {
  if (!callback) return 0;
  std::lock_guard guard(m_mutex);
  if (m_stop) return 0;
  TimerId id = m_nextId++;
  if (id == 0) id = m_nextId++;  // after wrap-around
  m_timers[id] = Entry{first, period, 0, first, std::move(callback)};
  if (!m_thread.joinable()) m_thread = std::thread(&PrecisionTimer::Run, this);
  m_changed.notify_all();
  return id;
}

bool PrecisionTimer::Kill(TimerId id) {
  if (id == 0) return false;
  std::unique_lock lock(m_mutex);
  const bool known = m_timers.erase(id) > 0;
  m_changed.notify_all();
  if (!OnTimerThread()) m_changed.wait(lock, [&] { return m_running != id; });
  return known;
}

void PrecisionTimer::KillAll() {
  std::unique_lock lock(m_mutex);
  m_timers.clear();
  if (!OnTimerThread()) m_changed.wait(lock, [&] { return m_running == 0; });
  m_timers.clear();  // any a callback started while we waited
  m_changed.notify_all();
}

void PrecisionTimer::Run() {
  const FineTimerResolution fine;
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    if (m_timers.empty()) {
      m_changed.wait(lock);
      continue;
    }
    auto next = m_timers.begin();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
      if (it->second.due < next->second.due) next = it;
    }
    if (const Clock::time_point due = next->second.due; Clock::now() < due) {
      // A copy: Kill may erase the entry while this thread waits.
      m_changed.wait_until(lock, due);
      continue;  // the set of timers may have changed meanwhile
    }

    const TimerId id = next->first;
    Entry& entry = next->second;
    Callback callback = entry.callback;
    if (entry.period == Clock::duration::zero()) {
      m_timers.erase(next);
    } else {
      // The next due time stays on the grid of the start; periods missed while a callback
      // ran long are skipped rather than fired in a burst.
      const Clock::time_point now = Clock::now();
      do {
        ++entry.fired;
        entry.due = entry.start + entry.period * static_cast<int64_t>(entry.fired);
      } while (entry.due <= now);
    }

    m_running = id;
    lock.unlock();
    callback(id);
    lock.lock();
    m_running = 0;
    m_changed.notify_all();
  }
}

}  // namespace vantorel::platform
