// A watch held against a Wayland screen: reads a small patch of the output in the middle of the
// signal area with the wlroots screen copy protocol, once per picture the compositor shows, and
// decodes the frames it sees. Each picture comes with the instant it was shown, not when the
// copy reached us: an edge is timed between the picture before it and the first that shows it.
//   wl_watch --at X,Y [--frames N] [--timeout S] [--correction-ms MS] [--ready-file PATH]
// X,Y: the middle of the signal area on the output. Prints what the X11 watch prints: a line
// "frame N DATE TIME flag F end T" and a line per step; on standard error how late each
// frame's light changed on the screen, how many pictures it read and the longest gap. Exits 0 when
// every frame decoded, 1 on a frame it cannot decode, 2 on bad options, 3 when the screen cannot be
// read or no frame came in time.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "frame_decoder.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace {

using vantorel::watch::DecodedFrame;
using vantorel::watch::Edge;
using vantorel::watch::Now;

constexpr int kSide = 8;

struct Globals {
  wl_shm* shm = nullptr;
  wl_output* output = nullptr;
  zwlr_screencopy_manager_v1* copies = nullptr;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto* g = static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_shm_interface.name) == 0) {
    g->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (std::strcmp(interface, wl_output_interface.name) == 0 && g->output == nullptr) {
    g->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
  } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
    g->copies = static_cast<zwlr_screencopy_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, 1));
  }
}
void GlobalGone(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistry = {Global, GlobalGone};

// One patch, copied into the same shared buffer each time.
class Patch {
 public:
  Patch(wl_display* display, const Globals& g, int x, int y)
      : m_display(display), m_g(g), m_x(x), m_y(y) {}
  ~Patch() {
    if (m_buffer) wl_buffer_destroy(m_buffer);
    if (m_data) munmap(m_data, m_size);
  }
  Patch(const Patch&) = delete;
  Patch& operator=(const Patch&) = delete;

  // The next picture shown: its mean brightness 0..255 and when it was shown, on
  // CLOCK_MONOTONIC; false when it cannot be had.
  bool Copy(int* brightness, double* shownAt) {
    m_state = State::kWaiting;
    zwlr_screencopy_frame_v1* frame = zwlr_screencopy_manager_v1_capture_output_region(
        m_g.copies, 0, m_g.output, m_x, m_y, kSide, kSide);
    zwlr_screencopy_frame_v1_add_listener(frame, &kFrame, this);
    while (m_state == State::kWaiting && wl_display_dispatch(m_display) >= 0) {
    }
    zwlr_screencopy_frame_v1_destroy(frame);
    if (m_state != State::kReady) return false;
    *brightness = Brightness();
    *shownAt = m_shownAt;
    return true;
  }

 private:
  enum class State { kWaiting, kReady, kFailed };

  static void OnBuffer(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width,
                       uint32_t height, uint32_t stride) {
    auto* self = static_cast<Patch*>(data);
    // Both are four bytes a pixel, blue first: the only layouts read here.
    if ((format != WL_SHM_FORMAT_XRGB8888 && format != WL_SHM_FORMAT_ARGB8888) ||
        !self->MakeBuffer(format, width, height, stride)) {
      self->m_state = State::kFailed;
      return;
    }
    zwlr_screencopy_frame_v1_copy(frame, self->m_buffer);
  }
  static void OnFlags(void*, zwlr_screencopy_frame_v1*, uint32_t) {}
  static void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t secondsHigh,
                      uint32_t secondsLow, uint32_t nanoseconds) {
    auto* self = static_cast<Patch*>(data);
    const uint64_t seconds = (uint64_t{secondsHigh} << 32) | secondsLow;
    self->m_shownAt = static_cast<double>(seconds) + nanoseconds * 1e-9;
    self->m_state = State::kReady;
  }
  static void OnFailed(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Patch*>(data)->m_state = State::kFailed;
  }
  static constexpr zwlr_screencopy_frame_v1_listener kFrame = {OnBuffer, OnFlags, OnReady,
                                                               OnFailed};

  bool MakeBuffer(uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
    if (m_buffer) return width == m_width && height == m_height && stride == m_stride;
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_size = static_cast<size_t>(stride) * height;
    const int fd = memfd_create("wl_watch", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(m_size)) != 0) {
      if (fd >= 0) close(fd);
      return false;
    }
    void* data = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
      close(fd);
      return false;
    }
    m_data = static_cast<uint8_t*>(data);
    wl_shm_pool* pool = wl_shm_create_pool(m_g.shm, fd, static_cast<int32_t>(m_size));
    m_buffer = wl_shm_pool_create_buffer(pool, 0, static_cast<int32_t>(width),
                                         static_cast<int32_t>(height), static_cast<int32_t>(stride),
                                         format);
    wl_shm_pool_destroy(pool);
    close(fd);
    return true;
  }

  int Brightness() const {
    unsigned long sum = 0;
    for (uint32_t row = 0; row < m_height; ++row) {
      const uint8_t* pixel = m_data + static_cast<size_t>(row) * m_stride;
      for (uint32_t col = 0; col < m_width; ++col, pixel += 4) {
        sum += pixel[0] + pixel[1] + pixel[2];
      }
    }
    return static_cast<int>(sum / (3ul * m_width * m_height));
  }

  wl_display* m_display;
  const Globals& m_g;
  int m_x, m_y;
  State m_state = State::kWaiting;
  double m_shownAt = 0;
  wl_buffer* m_buffer = nullptr;
  uint8_t* m_data = nullptr;
  size_t m_size = 0;
  uint32_t m_width = 0, m_height = 0, m_stride = 0;
};

// How late the light of each edge reached the screen: the picture that first showed it, after
// its step's due time.
void PrintShown(const DecodedFrame& frame, const std::vector<Edge>& edges) {
  double sum = 0, most = 0;
  size_t n = 0;
  for (int k = 1; k <= vantorel::watch::kSteps && n < edges.size(); ++k) {
    const auto s = static_cast<size_t>(k);
    if (!frame.edge[s]) continue;
    const double late = (edges[n++].seen - frame.due[s]) * 1000.0;
    sum += late;
    most = std::max(most, late);
  }
  if (n > 0) {
    std::fprintf(stderr, "wl_watch: shown %.1f ms after its steps on average, %.1f at most\n",
                 sum / static_cast<double>(n), most);
  }
}

struct Options {
  int x = -1, y = -1;
  int frames = 1;
  double timeout = 30;
  double correction = 0;
  std::string readyFile;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    const char* value = argv[i + 1];
    char* end = nullptr;
    if (arg == "--at") {
      if (std::sscanf(value, "%d,%d", &o.x, &o.y) != 2) return false;
    } else if (arg == "--ready-file") {
      o.readyFile = value;
    } else if (arg == "--frames") {
      o.frames = static_cast<int>(std::strtol(value, &end, 10));
      if (*end != '\0' || o.frames < 1) return false;
    } else if (arg == "--timeout") {
      o.timeout = std::strtod(value, &end);
      if (*end != '\0' || !(o.timeout > 0)) return false;
    } else if (arg == "--correction-ms") {
      o.correction = std::strtod(value, &end) / 1000.0;
      if (*end != '\0' || !std::isfinite(o.correction)) return false;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && o.x >= kSide / 2 && o.y >= kSide / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: wl_watch --at X,Y [--frames N] [--timeout S] [--correction-ms MS] "
                 "[--ready-file PATH]\n");
    return 2;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "wl_watch: no Wayland display\n");
    return 3;
  }
  Globals g;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistry, &g);
  wl_display_roundtrip(display);
  if (g.shm == nullptr || g.output == nullptr || g.copies == nullptr) {
    std::fprintf(stderr, "wl_watch: the compositor offers no screen copy\n");
    return 3;
  }

  int result = 0;
  {
    Patch patch(display, g, o.x - kSide / 2, o.y - kSide / 2);
    // The compositor's instants are on the monotonic clock; the frames' due times on the
    // real-time one.
    const double toRealTime = Now(CLOCK_REALTIME) - Now(CLOCK_MONOTONIC);
    vantorel::watch::FrameWatch watch("wl_watch", o.frames, o.timeout, o.correction);
    bool first = true;
    while (!watch.Over()) {
      int brightness = 0;
      double shownAt = 0;
      if (!patch.Copy(&brightness, &shownAt)) {
        watch.Fail("the screen cannot be read");
        break;
      }
      if (first && !o.readyFile.empty()) {
        if (FILE* ready = std::fopen(o.readyFile.c_str(), "w")) std::fclose(ready);
      }
      first = false;
      if (const DecodedFrame* frame = watch.See(shownAt + toRealTime, brightness >= 128 ? 1 : 0))
        PrintShown(*frame, watch.Edges());
    }
    watch.PrintSummary();
    result = watch.Result();
  }
  zwlr_screencopy_manager_v1_destroy(g.copies);
  wl_display_disconnect(display);
  return result;
}
