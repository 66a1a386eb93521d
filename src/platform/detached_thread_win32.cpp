#include "platform/detached_thread.h"

#include <process.h>
#include <windows.h>

#include <cstdint>
#include <memory>

namespace vantorel::platform {
namespace {

unsigned __stdcall RunWork(void* argument) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(argument));
  (*work)();
  return 0;
}

}  // namespace

// A std::thread detached here sometimes never starts: under Wine, a few in a thousand of them
// had not run their first statement three seconds later, while threads that were joined, or
// started by the system directly, always ran. Closing the handle of a system thread is the
// system's own way of detaching it.
bool StartDetachedThread(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const uintptr_t handle = ::_beginthreadex(nullptr, 0, RunWork, owned.get(), 0, nullptr);
  if (handle == 0) return false;
  owned.release();  // the thread owns it now
  ::CloseHandle(reinterpret_cast<HANDLE>(handle));
  return true;
}

}  // namespace vantorel::platform
