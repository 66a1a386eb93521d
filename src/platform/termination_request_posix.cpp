#include "platform/termination_request.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/detached_thread.h"
#include "platform/log.h"

namespace vantorel::platform {
namespace {

int g_signalPipe[2] = {-1, -1};

// Only what is safe inside a signal handler: one write, errno kept.
void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
  errno = saved;
}

}  // namespace

bool WatchTerminationRequests(std::function<void()> handler) {
  static std::atomic<bool> watching{false};
  if (watching.exchange(true)) return false;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) {
    Log("termination signals keep their default action: no socket pair");
    return false;
  }
  // Blocked in read for the life of the process; a signal's byte wakes it.
  const bool started = StartDetachedThread([handler = std::move(handler)] {
    char bytes[16];
    for (;;) {
      const ssize_t got = ::read(g_signalPipe[1], bytes, sizeof bytes);
      if (got > 0) {
        handler();
      } else if (got == 0 || errno != EINTR) {
        return;
      }
    }
  });
  if (!started) {
    Log("termination signals keep their default action: no thread to watch them");
    return false;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
  return true;
}

}  // namespace vantorel::platform
