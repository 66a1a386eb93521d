#include "frame_decoder.h"

#include <bit>
#include <cmath>
#include <cstdio>

namespace vantorel::watch {
namespace {

constexpr int kFirstBlockStep = 4;
constexpr int kBlockBits = 35;

std::string StepError(const char* what, int step) {
  char text[96];
  std::snprintf(text, sizeof text, "%s at step %d", what, step);
  return text;
}

uint64_t Field(uint64_t block, int first, int bits) {
  return (block >> first) & ((uint64_t{1} << bits) - 1);
}

}  // namespace

DecodedFrame DecodeFrame(const std::vector<Edge>& edges, double correctionSeconds) {
  DecodedFrame frame;
  if (edges.empty() || edges.front().level != 1) {
    frame.error = "no rising edge starts the frame";
    return frame;
  }
  // The nearest boundary, not the one before: a watch sampling the screen can see an edge a
  // fraction of its sampling period before it happened.
  const double firstDue = std::round(edges.front().time + correctionSeconds) - correctionSeconds;
  for (int step = 1; step <= kSteps; ++step) {
    frame.due[static_cast<size_t>(step)] = firstDue + (step - 1) * kStepSeconds;
  }

  int lastStep = 0;
  int level = 0;
  for (const Edge& e : edges) {
    const long nearest = std::lround((e.time - firstDue) / kStepSeconds) + 1;
    if (nearest < 1 || nearest > kSteps) {
      frame.error = "an edge outside the frame's 41 steps";
      return frame;
    }
    const int step = static_cast<int>(nearest);
    const auto s = static_cast<size_t>(step);
    if (std::fabs(e.time - frame.due[s]) > kEdgeTolerance) {
      frame.error = StepError("a step lost or merged: an edge off its boundary", step);
      return frame;
    }
    if (step <= lastStep || e.level == level) {
      frame.error = StepError("two edges in one step", step);
      return frame;
    }
    for (int k = lastStep + 1; k < step; ++k) frame.level[static_cast<size_t>(k)] = level;
    level = e.level;
    frame.level[s] = level;
    frame.edge[s] = e.time;
    lastStep = step;
  }
  for (int k = lastStep + 1; k <= kSteps; ++k) frame.level[static_cast<size_t>(k)] = level;

  const auto& l = frame.level;
  if (l[1] != 1 || l[2] != 1 || l[3] != 0) {
    frame.error = "no start marker";
    return frame;
  }
  if (l[39] != 1 || l[40] != 1 || l[41] != 0) {
    frame.error = "no end marker";
    return frame;
  }
  for (int bit = 0; bit < kBlockBits; ++bit) {
    if (l[static_cast<size_t>(kFirstBlockStep + bit)] != 0) frame.block |= uint64_t{1} << bit;
  }
  if (std::popcount(frame.block) % 2 != 0) {
    frame.error = "parity error";
    return frame;
  }
  frame.second = static_cast<int>(Field(frame.block, 0, 6));
  frame.minute = static_cast<int>(Field(frame.block, 6, 6));
  frame.hour = static_cast<int>(Field(frame.block, 12, 5));
  frame.day = static_cast<int>(Field(frame.block, 17, 5));
  frame.month = static_cast<int>(Field(frame.block, 22, 4));
  frame.year = 2000 + static_cast<int>(Field(frame.block, 26, 7));
  frame.notCalibrated = Field(frame.block, 33, 1) != 0;
  if (frame.second > 59 || frame.minute > 59 || frame.hour > 23 || frame.day < 1 ||
      frame.month < 1 || frame.month > 12) {
    frame.error = "a field out of range";
    return frame;
  }
  frame.ok = true;
  return frame;
}

std::optional<DecodedFrame> FrameReader::See(double at, double changedAt, int level) {
  if (level != m_level) {
    m_level = level;
    if (!m_inFrame && level == 1) {
      m_inFrame = true;
      m_edges.clear();
      m_frameEnd = changedAt + kSteps * kStepSeconds + 0.25;
    }
    if (m_inFrame) m_edges.push_back({changedAt, level});
  }
  if (!m_inFrame || at <= m_frameEnd) return std::nullopt;
  m_inFrame = false;
  return DecodeFrame(m_edges, m_correction);
}

void PrintFrame(int number, const DecodedFrame& f) {
  std::printf("frame %d %04d-%02d-%02d %02d:%02d:%02d flag %d end %.6f\n", number, f.year, f.month,
              f.day, f.hour, f.minute, f.second, f.notCalibrated ? 1 : 0, f.due[kSteps]);
  for (int k = 1; k <= kSteps; ++k) {
    const auto s = static_cast<size_t>(k);
    if (f.edge[s]) {
      std::printf("  step %2d level %d due %.6f edge %.6f late %.3f ms\n", k, f.level[s], f.due[s],
                  *f.edge[s], (*f.edge[s] - f.due[s]) * 1000.0);
    } else {
      std::printf("  step %2d level %d due %.6f edge -\n", k, f.level[s], f.due[s]);
    }
  }
  std::fflush(stdout);
}

}  // namespace vantorel::watch
