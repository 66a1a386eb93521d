#include "frame_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "clocks/signal_frame.h"
#include "support/times.h"

namespace vantorel::watch {
namespace {

// The edges a screen shows for the sender's frame: one at each step whose level differs from
// the step before, `late` seconds after the step's due time (step k of `lateAt` only).
std::vector<Edge> EdgesOf(const SignalLevels& levels, double firstDue, double late = 0.0003,
                          int lateAt = 0, double extra = 0) {
  std::vector<Edge> edges;
  for (int k = 1; k <= kSteps; ++k) {
    const auto s = static_cast<size_t>(k);
    if (levels[s] == levels[s - 1]) continue;
    const double at = firstDue + (k - 1) * kStepSeconds + late + (k == lateAt ? extra : 0);
    edges.push_back({at, levels[s]});
  }
  return edges;
}

SignalLevels FrameFor(const platform::SystemTime& t, bool notCalibrated) {
  SignalLevels levels{};
  BuildFrame(TimeBlock(t, notCalibrated), &levels);
  return levels;
}

TEST(DecodeFrame, ReadsBackWhatTheSenderBuilt) {
  struct Case {
    platform::SystemTime time;
    bool flag;
    double correction;
  };
  const Case cases[] = {
      {test::MakeTime(2012, 1, 1, 12, 0, 4), false, 0.0},
      {test::MakeTime(2026, 12, 31, 23, 59, 59), true, 0.0},
      {test::MakeTime(2000, 2, 29, 0, 0, 0), false, 2.5},
      {test::MakeTime(2127, 7, 15, 6, 30, 1), false, -0.25},
  };
  for (const Case& c : cases) {
    const double firstDue = 1'800'000'000.0 - c.correction;
    const DecodedFrame f = DecodeFrame(EdgesOf(FrameFor(c.time, c.flag), firstDue), c.correction);
    ASSERT_TRUE(f.ok) << f.error;
    EXPECT_EQ(f.year, c.time.wYear);
    EXPECT_EQ(f.month, c.time.wMonth);
    EXPECT_EQ(f.day, c.time.wDay);
    EXPECT_EQ(f.hour, c.time.wHour);
    EXPECT_EQ(f.minute, c.time.wMinute);
    EXPECT_EQ(f.second, c.time.wSecond);
    EXPECT_EQ(f.notCalibrated, c.flag);
    EXPECT_NEAR(f.due[1], firstDue, 1e-6);
    EXPECT_NEAR(f.due[kSteps], firstDue + 2.0, 1e-6);
    ASSERT_TRUE(f.edge[1].has_value());
    EXPECT_NEAR(*f.edge[1] - f.due[1], 0.0003, 1e-6);
    EXPECT_FALSE(f.edge[2].has_value());  // 1, 1: no change at step 2
    EXPECT_TRUE(f.edge[kSteps].has_value());
  }
}

TEST(DecodeFrame, RefusesWhatAWatchWouldMisread) {
  const SignalLevels good = FrameFor(test::MakeTime(2026, 12, 9, 10, 20, 30), false);
  const double due = 1'800'000'000.0;
  SignalLevels flipped = good;
  flipped[10] ^= 1;  // one bit of the block: odd parity
  SignalLevels noStart = good;
  noStart[2] = 0;
  noStart[3] = 1;
  SignalLevels noEnd = good;
  noEnd[40] = 0;

  struct Case {
    const char* what;
    std::vector<Edge> edges;
  };
  std::vector<Edge> falling = EdgesOf(good, due);
  falling.front().level = 0;
  std::vector<Edge> doubled = EdgesOf(good, due);
  doubled.insert(doubled.begin() + 1, {doubled[0].time + 0.005, 0});
  const Case cases[] = {
      {"no edges", {}},
      {"a frame starting dark", falling},
      {"a flipped bit", EdgesOf(flipped, due)},
      {"no start marker", EdgesOf(noStart, due)},
      {"no end marker", EdgesOf(noEnd, due)},
      {"a step shown 25 ms late", EdgesOf(good, due, 0.0003, 3, 0.025)},
      {"a flicker inside a step", doubled},
      {"everything 30 ms late", EdgesOf(good, due, 0.030)},
  };
  for (const Case& c : cases) {
    const DecodedFrame f = DecodeFrame(c.edges, 0.0);
    EXPECT_FALSE(f.ok) << c.what;
    EXPECT_FALSE(f.error.empty()) << c.what;
  }
  // A late step within what a watch tolerates still reads, and so does a frame seen a little
  // early, as sampling can see it.
  EXPECT_TRUE(DecodeFrame(EdgesOf(good, due, 0.0003, 3, 0.015), 0.0).ok);
  const DecodedFrame early = DecodeFrame(EdgesOf(good, due, -0.0004), 0.0);
  ASSERT_TRUE(early.ok) << early.error;
  EXPECT_NEAR(early.due[1], due, 1e-6);
}

}  // namespace
}  // namespace vantorel::watch
