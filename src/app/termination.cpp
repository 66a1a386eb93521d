#include "app/termination.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

#include "platform/log.h"

namespace vantorel {
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

void OnTermination(QObject* context, std::function<void()> quit) {
  if (g_signalPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0) {
    platform::Log("termination signals keep their default action: no socket pair");
    return;
  }
  auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [quit = std::move(quit)] {
    char bytes[16];
    while (::read(g_signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace vantorel
