#include "platform/termination_request.h"

#include <atomic>

#include "platform/log.h"
#include "platform/win32_text.h"

namespace vantorel::platform {
namespace {

std::function<void()>* g_handler = nullptr;

// The system calls this on a thread of its own for each console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      (*g_handler)();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool WatchTerminationRequests(std::function<void()> handler) {
  static std::atomic<bool> watching{false};
  if (watching.exchange(true)) return false;
  g_handler = new std::function<void()>(std::move(handler));  // lives as long as the process
  if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
    Log("termination requests keep their default action: %s", ErrorText(::GetLastError()).c_str());
    return false;
  }
  return true;
}

}  // namespace vantorel::platform
