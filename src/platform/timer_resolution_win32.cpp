#include "platform/timer_resolution.h"

#include <windows.h>
#include <timeapi.h>

#include <optional>
#include <thread>

// Windows 10 1803 and later; older headers do not name it.
#if !defined(CREATE_WAITABLE_TIMER_HIGH_RESOLUTION)
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vantorel::platform {
namespace {

constexpr UINT kPeriodMs = 1;

// One timer per thread that sleeps, made on its first sleep; null where the system has no
// high-resolution timers (before Windows 10 1803).
class ThreadTimer {
 public:
  ThreadTimer()
      : m_handle(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS)) {}
  ~ThreadTimer() {
    if (m_handle != nullptr) ::CloseHandle(m_handle);
  }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

}  // namespace

FineTimerResolution::FineTimerResolution()
    : m_raised(::timeBeginPeriod(kPeriodMs) == TIMERR_NOERROR) {}

FineTimerResolution::~FineTimerResolution() {
  if (m_raised) ::timeEndPeriod(kPeriodMs);
}

void SleepUntil(std::chrono::steady_clock::time_point due) {
  thread_local const ThreadTimer timer;
  std::optional<FineTimerResolution> fine;
  for (auto now = std::chrono::steady_clock::now(); now < due;
       now = std::chrono::steady_clock::now()) {
    if (timer.Get() != nullptr) {
      LARGE_INTEGER relative;  // negative: from now, in 100 ns units
      relative.QuadPart =
          -std::chrono::ceil<std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>>(due - now)
               .count();
      if (::SetWaitableTimer(timer.Get(), &relative, 0, nullptr, nullptr, FALSE) &&
          ::WaitForSingleObject(timer.Get(), INFINITE) == WAIT_OBJECT_0) {
        continue;
      }
    }
    if (!fine) fine.emplace();
    std::this_thread::sleep_until(due);
  }
}

}  // namespace vantorel::platform
