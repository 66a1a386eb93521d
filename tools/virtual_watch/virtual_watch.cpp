// A watch that reads the screen: samples the signal area's brightness and decodes its frames.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "frame_decoder.h"

namespace {

using vantorel::watch::Now;

constexpr const char* kUsage =
    "Usage: virtual_watch [options]\n"
    "Watches the light signal of the window titled TITLE and decodes its frames.\n"
    "\n"
    "  --title TEXT        window title to look for (default QUMRA)\n"
    "  --area X,Y,W,H      the signal area inside that window (default 32,154,248,360)\n"
    "  --frames N          frames to decode before exiting (default 1)\n"
    "  --timeout S         seconds to wait for the window and for each frame (default 30)\n"
    "  --rate HZ           brightness samples per second (default 1000, at least 500)\n"
    "  --correction-ms MS  how far the sender's corrected clock runs ahead of this\n"
    "                      machine's clock; its second boundaries are the steps' due\n"
    "                      times (default 0)\n"
    "  --ready-file PATH   written once the window is found and sampling has begun\n"
    "  --help              this text\n"
    "\n"
    "For each frame it prints one line \"frame N DATE TIME flag F end T\" (T: the due time\n"
    "of step 41 in seconds since 1970), then one line per step: its level, due time, the\n"
    "time its edge was seen (\"-\" when the level did not change) and how late that was.\n"
    "Exits 0 when every frame decoded, 1 on a frame it cannot decode (the reason on\n"
    "standard error), 2 on bad options, 3 when no window or no frame came in time.\n";

struct Options {
  std::string title = "QUMRA";
  int x = 32, y = 154, w = 248, h = 360;
  int frames = 1;
  double timeout = 30;
  double rate = 1000;
  double correction = 0;
  std::string readyFile;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    char* end = nullptr;
    errno = 0;
    if (arg == "--title") {
      o.title = value;
      continue;
    }
    if (arg == "--ready-file") {
      o.readyFile = value;
      continue;
    }
    if (arg == "--area") {
      if (std::sscanf(value, "%d,%d,%d,%d", &o.x, &o.y, &o.w, &o.h) != 4 || o.w <= 0 || o.h <= 0)
        return false;
      continue;
    }
    const double number = std::strtod(value, &end);
    if (end == value || *end != '\0' || errno != 0 || !std::isfinite(number)) return false;
    if (arg == "--frames" && number >= 1) {
      o.frames = static_cast<int>(number);
    } else if (arg == "--timeout" && number > 0) {
      o.timeout = number;
    } else if (arg == "--rate" && number >= 500 && number <= 20000) {
      o.rate = number;
    } else if (arg == "--correction-ms") {
      o.correction = number / 1000.0;
    } else {
      return false;
    }
  }
  return true;
}

std::string WindowName(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display, window, netName, 0, 256, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    name.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    if (!name.empty()) return name;
  }
  char* legacy = nullptr;
  if (XFetchName(display, window, &legacy) && legacy) {
    name = legacy;
    XFree(legacy);
  }
  return name;
}

// Depth first; a viewable window whose title is exactly the one asked for.
Window FindWindow(Display* display, Window parent, const std::string& title) {
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = count; i-- > 0 && !found;) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, children[i], &attributes) ||
        attributes.map_state != IsViewable)
      continue;
    if (WindowName(display, children[i]) == title) {
      found = children[i];
    } else {
      found = FindWindow(display, children[i], title);
    }
  }
  if (children) XFree(children);
  return found;
}

// Reads a small patch in the middle of the area: all of it is one level at any instant.
class Sampler {
 public:
  Sampler(Display* display, int x, int y) : m_display(display), m_x(x), m_y(y) {
    const int screen = DefaultScreen(display);
    m_root = RootWindow(display, screen);
    Visual* visual = DefaultVisual(display, screen);
    const auto depth = static_cast<unsigned>(DefaultDepth(display, screen));
    if (XShmQueryExtension(display)) {
      m_image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &m_shm, kSide, kSide);
      if (m_image) {
        m_shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(m_image->bytes_per_line) * kSide,
                             IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        if (m_shm.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display, &m_shm)) {
          XSync(display, False);
          shmctl(m_shm.shmid, IPC_RMID, nullptr);  // goes when both sides detach
          m_useShm = true;
        } else {
          XDestroyImage(m_image);
          m_image = nullptr;
        }
      }
    }
  }
  ~Sampler() {
    if (m_useShm) {
      XShmDetach(m_display, &m_shm);
      XDestroyImage(m_image);
      shmdt(m_shm.shmaddr);
    }
  }
  Sampler(const Sampler&) = delete;
  Sampler& operator=(const Sampler&) = delete;

  // The mean brightness 0..255, or -1 when the screen could not be read.
  int Brightness() {
    XImage* image = m_image;
    if (m_useShm) {
      if (!XShmGetImage(m_display, m_root, m_image, m_x, m_y, AllPlanes)) return -1;
    } else {
      image = XGetImage(m_display, m_root, m_x, m_y, kSide, kSide, AllPlanes, ZPixmap);
      if (!image) return -1;
    }
    unsigned long sum = 0;
    for (int row = 0; row < kSide; ++row) {
      for (int col = 0; col < kSide; ++col) {
        const unsigned long p = XGetPixel(image, col, row);
        sum += Channel(p, image->red_mask) + Channel(p, image->green_mask) +
               Channel(p, image->blue_mask);
      }
    }
    if (!m_useShm) XDestroyImage(image);
    return static_cast<int>(sum / (3ul * kSide * kSide));
  }

  static constexpr int kSide = 8;

 private:
  static unsigned long Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctzl(mask);
    const unsigned long max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
  }

  Display* m_display;
  Window m_root = 0;
  int m_x, m_y;
  XImage* m_image = nullptr;
  XShmSegmentInfo m_shm{};
  bool m_useShm = false;
};

// Samples until the frames asked for are decoded; the exit status of the program.
int Watch(Display* display, int x, int y, const Options& o) {
  Sampler sampler(display, x, y);
  if (!o.readyFile.empty()) {
    if (FILE* ready = std::fopen(o.readyFile.c_str(), "w")) std::fclose(ready);
  }

  const auto period = static_cast<long>(1e9 / o.rate);
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  vantorel::watch::FrameWatch watch("virtual_watch", o.frames, o.timeout, o.correction);
  // Each wait is the period give or take a quarter, at random: a sampling grid locked to the
  // sender's 50 ms steps would bias every edge estimate the same way.
  std::minstd_rand jitter(static_cast<unsigned>(Now(CLOCK_REALTIME) * 1e6));
  std::uniform_int_distribution<long> spread(-period / 4, period / 4);
  while (!watch.Over()) {
    next.tv_nsec += period + spread(jitter);
    if (next.tv_nsec >= 1'000'000'000) {
      next.tv_nsec -= 1'000'000'000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    const double before = Now(CLOCK_REALTIME);
    const int brightness = sampler.Brightness();
    const double after = Now(CLOCK_REALTIME);
    if (brightness < 0) {
      watch.Fail("the screen cannot be read");
      break;
    }
    // The server took the picture somewhere inside the round trip.
    watch.See((before + after) / 2, brightness >= 128 ? 1 : 0);
  }
  watch.PrintSummary();
  return watch.Result();
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "virtual_watch: cannot open the display\n");
    return 3;
  }
  const Window root = DefaultRootWindow(display);
  Window window = 0;
  const double waitUntil = Now(CLOCK_MONOTONIC) + o.timeout;
  while (!(window = FindWindow(display, root, o.title))) {
    if (Now(CLOCK_MONOTONIC) > waitUntil) {
      std::fprintf(stderr, "virtual_watch: no window titled \"%s\"\n", o.title.c_str());
      return 3;
    }
    timespec pause{0, 100'000'000};
    nanosleep(&pause, nullptr);
  }
  int wx = 0, wy = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, root, 0, 0, &wx, &wy, &child);
  int result = Watch(display, wx + o.x + o.w / 2 - Sampler::kSide / 2,
                     wy + o.y + o.h / 2 - Sampler::kSide / 2, o);
  XCloseDisplay(display);
  return result;
}
