#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::watch {

// A change of the area's level seen at a CLOCK_REALTIME instant, in seconds.
struct Edge {
  double time;
  int level;  // after the change: 0 dark, 1 light
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

// Gathers one frame at a time from the levels a watch sees: a frame begins at a rise and is
// decoded a quarter of a second after its last step was due.
class FrameReader {
 public:
  explicit FrameReader(double correctionSeconds) : m_correction(correctionSeconds) {}

  // The level seen at `at`, having changed, if it did, at `changedAt`. Gives the frame, read
  // or not, once one is complete.
  std::optional<DecodedFrame> See(double at, double changedAt, int level);
  bool InFrame() const { return m_inFrame; }
  const std::vector<Edge>& Edges() const { return m_edges; }

 private:
  double m_correction;
  int m_level = 0;
  bool m_inFrame = false;
  double m_frameEnd = 0;
  std::vector<Edge> m_edges;
};

// The frame as one line "frame N DATE TIME flag F end T", then a line per step, on stdout.
void PrintFrame(int number, const DecodedFrame& frame);

}  // namespace vantorel::watch
