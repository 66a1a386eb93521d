#include "frame_decoder.h"

#include <algorithm>
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

double Now(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

FrameWatch::FrameWatch(const char* name, int frames, double timeoutSeconds,
                       double correctionSeconds)
    : m_name(name),
      m_frames(frames),
      m_timeout(timeoutSeconds),
      m_correction(correctionSeconds),
      m_start(Now(CLOCK_MONOTONIC)),
      m_deadline(m_start + timeoutSeconds) {}

const DecodedFrame* FrameWatch::See(double at, int level) {
  const double changedAt = m_samples > 0 ? (m_last + at) / 2 : at;
  if (m_samples++ > 0) m_longestGap = std::max(m_longestGap, at - m_last);
  m_last = at;
  if (level != m_level) {
    m_level = level;
    if (!m_inFrame && level == 1) {
      m_inFrame = true;
      m_edges.clear();
      m_frameEnd = changedAt + kSteps * kStepSeconds + 0.25;
    }
    if (m_inFrame) m_edges.push_back({changedAt, level, at});
  }
  if (m_inFrame && at > m_frameEnd) {
    m_inFrame = false;
    m_frame = DecodeFrame(m_edges, m_correction);
    if (!m_frame.ok) {
      std::fprintf(stderr, "%s: frame %d cannot be decoded: %s\n", m_name, m_decoded + 1,
                   m_frame.error.c_str());
      for (const Edge& e : m_edges) std::fprintf(stderr, "  edge %.6f -> %d\n", e.time, e.level);
      m_result = 1;
      return nullptr;
    }
    PrintFrame(++m_decoded, m_frame);
    m_deadline = Now(CLOCK_MONOTONIC) + m_timeout;
    return &m_frame;
  }
  if (!m_inFrame && Now(CLOCK_MONOTONIC) > m_deadline) {
    std::fprintf(stderr, "%s: no frame within %.0f s\n", m_name, m_timeout);
    m_result = 3;
  }
  return nullptr;
}

void FrameWatch::Fail(const char* why) {
  std::fprintf(stderr, "%s: %s\n", m_name, why);
  m_result = 3;
}

void FrameWatch::PrintSummary() const {
  const double seconds = Now(CLOCK_MONOTONIC) - m_start;
  std::fprintf(stderr, "%s: %ld samples in %.1f s, %.0f per second, %.1f ms apart at most\n",
               m_name, m_samples, seconds, static_cast<double>(m_samples) / seconds,
               m_longestGap * 1000.0);
}

}  // namespace vantorel::watch
