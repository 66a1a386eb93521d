#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vantorel::platform {

// An event that stays signalled until reset; every waiter wakes while it is set.
class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initiallySet = false) : m_set(initiallySet) {}
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event was set before the time-out.
  bool Wait(std::chrono::milliseconds timeout) const;
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  bool m_set;
};

}  // namespace vantorel::platform
