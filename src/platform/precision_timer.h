#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace vantorel::platform {

// Periodic and one-shot timers whose callbacks run on one timer thread of this object.
// Due times are counted from each timer's fixed start (start + k * period), and the thread
// sleeps until the earliest due time rather than polling, so jitter never accumulates.
class PrecisionTimer {
 public:
  using TimerId = uint32_t;  // 0 is never a timer
  using Callback = std::function<void(TimerId)>;
  using Clock = std::chrono::steady_clock;

  static constexpr std::chrono::milliseconds kResolution{1};

  PrecisionTimer() = default;
  // Kills every timer and ends the timer thread; a callback that is running finishes first.
  virtual ~PrecisionTimer();
  PrecisionTimer(const PrecisionTimer&) = delete;
  PrecisionTimer& operator=(const PrecisionTimer&) = delete;

  virtual TimerId StartPeriodic(Clock::duration period, Callback callback);
  // First call at `first`, then every period after it.
  virtual TimerId StartPeriodicAt(Clock::time_point first, Clock::duration period,
                                  Callback callback);
  virtual TimerId StartOneShot(Clock::duration delay, Callback callback);
  // After Kill returns, the timer's callback does not run again and is not running,
  // except when Kill is called from that very callback. False for an unknown id.
  virtual bool Kill(TimerId id);
  // Kills every timer, including any a running callback starts meanwhile.
  virtual void KillAll();

 private:
  struct Entry {
    Clock::time_point start;
    Clock::duration period;  // zero for a one-shot
    uint64_t fired = 0;      // periods completed
    Clock::time_point due;
    Callback callback;
  };

  TimerId Add(Clock::time_point first, Clock::duration period, Callback callback);
  bool OnTimerThread() const { return std::this_thread::get_id() == m_thread.get_id(); }
  void Run();

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::map<TimerId, Entry> m_timers;
  TimerId m_nextId = 1;
  TimerId m_running = 0;  // id whose callback runs now
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace vantorel::platform
