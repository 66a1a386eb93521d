// Start-up time: from exec of the program to its main window mapped on the X server.
//   startup_bench PROGRAM RUNS [TITLE]  → one line per run, in milliseconds
// The program runs in its own folder (its settings beside it); each run is ended by SIGTERM.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

bool HasTitle(Display* display, Window window, const std::string& title) {
  char* name = nullptr;
  bool same = false;
  if (XFetchName(display, window, &name) && name) {
    same = title == name;
    XFree(name);
  }
  return same;
}

// Waits for a MapNotify of a window with the title; false after the time-out.
bool WaitForMap(Display* display, const std::string& title, Clock::time_point deadline) {
  while (Clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) return true;
    }
    usleep(200);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM RUNS [TITLE]\n", argv[0]);
    return 2;
  }
  const std::string title = argc > 3 ? argv[3] : "QUMRA";
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_bench: cannot open the display\n");
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  int failed = 0;
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
      execl(argv[1], argv[1], static_cast<char*>(nullptr));
      _exit(127);
    }
    if (WaitForMap(display, title, start + std::chrono::seconds(10))) {
      std::printf("%.3f\n",
                  std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      std::fflush(stdout);
    } else {
      ++failed;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    usleep(300'000);
  }
  XCloseDisplay(display);
  return failed == 0 ? 0 : 1;
}
