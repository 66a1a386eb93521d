#include "platform/manual_reset_event.h"

namespace vantorel::platform {

void ManualResetEvent::Set() {
  {
    std::lock_guard guard(m_mutex);
    m_set = true;
  }
  m_changed.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard guard(m_mutex);
  m_set = false;
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard guard(m_mutex);
  return m_set;
}

bool ManualResetEvent::Wait(std::chrono::milliseconds timeout) const {
  return WaitUntil(std::chrono::steady_clock::now() + timeout);
}

bool ManualResetEvent::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_until(lock, deadline, [this] { return m_set; });
}

}  // namespace vantorel::platform
