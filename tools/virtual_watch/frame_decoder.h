#pragma once

#include <time.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::watch {

// A change of the area's level at a CLOCK_REALTIME instant, in seconds.
struct Edge {
  double time;
  int level;        // after the change: 0 dark, 1 light
  double seen = 0;  // the sample that first showed it
};

inline constexpr int kSteps = 41;
inline constexpr double kStepSeconds = 0.050;
// An edge further than this from the boundary of its step means a step was lost or merged:
// a watch reading the screen would sample the wrong level there.
inline constexpr double kEdgeTolerance = 0.020;

struct DecodedFrame {
  bool ok = false;
  std::string error;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool notCalibrated = false;
  uint64_t block = 0;
  // Indexed by step 1..41.
  std::array<int, kSteps + 1> level{};
  std::array<double, kSteps + 1> due{};
  std::array<std::optional<double>, kSteps + 1> edge{};
};

// Rebuilds one frame from its edges, the first of which must be the rise of step 1. The
// first step is due on the second boundary of the sender's corrected clock (which runs
// correctionSeconds ahead of CLOCK_REALTIME) nearest to that rise; every further step 50 ms
// later.
DecodedFrame DecodeFrame(const std::vector<Edge>& edges, double correctionSeconds);

// What a watch does with its samples of the area's level: the frames gathered from them, each
// printed on stdout once read (a line "frame N DATE TIME flag F end T", then one per step). The
// watch is over when the frames asked for are read, when one cannot be read or when none has begun
// within the time-out (the reason on stderr).
class FrameWatch {
 public:
  FrameWatch(const char* name, int frames, double timeoutSeconds, double correctionSeconds);

  // A sample of the level taken at `at`. A change happened between the sample before and
  // this one: the middle of the two is the best estimate. Gives the frame just read, if any.
  const DecodedFrame* See(double at, int level);
  // The screen could not be read.
  void Fail(const char* why);
  bool Over() const { return m_result >= 0 || m_decoded == m_frames; }
  // The exit status: 0 every frame read, 1 one that could not be, 3 none in time or no screen.
  int Result() const { return m_result < 0 ? 0 : m_result; }
  // The edges of the frame being gathered or just read.
  const std::vector<Edge>& Edges() const { return m_edges; }
  // How many samples, how fast and how far apart at most, on stderr.
  void PrintSummary() const;

 private:
  const char* m_name;
  int m_frames;
  double m_timeout;
  double m_correction;
  double m_start;
  double m_deadline;
  long m_samples = 0;
  double m_last = 0;
  double m_longestGap = 0;
  int m_level = 0;
  bool m_inFrame = false;
  double m_frameEnd = 0;
  std::vector<Edge> m_edges;
  DecodedFrame m_frame;
  int m_decoded = 0;
  int m_result = -1;
};

// Seconds on that clock.
double Now(clockid_t clock);

}  // namespace vantorel::watch
