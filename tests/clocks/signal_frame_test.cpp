#include "clocks/signal_frame.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "clocks/signal_transmitter.h"
#include "support/times.h"

namespace vantorel {
namespace {

platform::FileTime FileTimeOf(const platform::SystemTime& t) {
  platform::FileTime f = 0;
  EXPECT_TRUE(platform::SystemTimeToFileTime(t, &f));
  return f;
}

TEST(TimeBlock, KnownInstants) {
  struct Case {
    platform::SystemTime time;
    bool notCalibrated;
    uint64_t block;
  };
  const Case cases[] = {
      {test::MakeTime(2012, 1, 1, 12, 0, 4), false, 0x43042C004},
      {test::MakeTime(2012, 1, 1, 12, 0, 4), true, 0x23042C004},  // bit 33 set, parity now clear
      {test::MakeTime(2000, 1, 1, 0, 0, 0), false, 0x00420000},   // month 1, day 1: two ones
      {test::MakeTime(2127, 1, 1, 0, 0, 0), false,
       uint64_t{0x7F} << 26 | 0x420000 | uint64_t{1} << 34},
      {test::MakeTime(2128, 1, 1, 0, 0, 0), false, 0x00420000},  // year - 2000 taken modulo 128
      {test::MakeTime(1999, 1, 1, 0, 0, 0), false,
       uint64_t{0x7F} << 26 | 0x420000 | uint64_t{1} << 34},
      {test::MakeTime(2026, 12, 31, 23, 59, 59), false,
       59 | 59u << 6 | 23u << 12 | 31u << 17 | uint64_t{12} << 22 | uint64_t{26} << 26},  // 24 ones
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeBlock(c.time, c.notCalibrated), c.block) << std::hex << c.block;
  }
}

TEST(TimeBlock, ParityMakesTheCountOfOnesEven) {
  std::mt19937 random(5);
  for (int i = 0; i < 10000; ++i) {
    const platform::SystemTime t = test::MakeTime(
        static_cast<uint16_t>(1990 + random() % 200), static_cast<uint16_t>(1 + random() % 12),
        static_cast<uint16_t>(1 + random() % 28), static_cast<uint16_t>(random() % 24),
        static_cast<uint16_t>(random() % 60), static_cast<uint16_t>(random() % 60));
    const uint64_t block = TimeBlock(t, random() % 2 == 0);
    ASSERT_EQ(std::popcount(block) % 2, 0) << std::hex << block;
    ASSERT_LT(block, uint64_t{1} << 35);
  }
}

TEST(Frame, MarkersAroundTheBlockLeastSignificantBitFirst) {
  SignalLevels levels{};
  levels.fill(7);
  BuildFrame(0x43042C004, &levels);
  const std::string expected =
      "0"                                    // idle
      "110"                                  // start marker
      "00100000000000110100001000001100001"  // 0x43042C004, bit 0 first
      "11"                                   // end marker
      "0";                                   // every frame ends dark
  ASSERT_EQ(expected.size(), 42u);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(levels[i], expected[i] - '0') << i;
  EXPECT_EQ(levels[42], 7);  // nothing past the frame is touched
}

TEST(PlanFrame, FirstStepOnTheBoundaryTwoSecondsOnAndFrameTimeFourSecondsOn) {
  struct Case {
    platform::SystemTime reading;
    uint32_t firstDelayMs;
    platform::SystemTime encodes;
  };
  const Case cases[] = {
      {test::MakeTime(2012, 1, 1, 12, 0, 0, 300), 1700, test::MakeTime(2012, 1, 1, 12, 0, 4, 300)},
      {test::MakeTime(2012, 1, 1, 12, 0, 0, 0), 2000, test::MakeTime(2012, 1, 1, 12, 0, 4, 0)},
      // Even 1 ms before a boundary the first step is more than a second away.
      {test::MakeTime(2012, 1, 1, 12, 0, 0, 999), 1001, test::MakeTime(2012, 1, 1, 12, 0, 4, 999)},
      {test::MakeTime(2012, 1, 1, 12, 0, 0, 950), 1050, test::MakeTime(2012, 1, 1, 12, 0, 4, 950)},
      {test::MakeTime(2012, 12, 31, 23, 59, 58, 500), 1500,
       test::MakeTime(2013, 1, 1, 0, 0, 2, 500)},
  };
  for (const Case& c : cases) {
    const FramePlan plan = PlanFrame(FileTimeOf(c.reading));
    EXPECT_EQ(plan.firstDelayMs, c.firstDelayMs);
    EXPECT_EQ(plan.firstDelay, std::chrono::milliseconds(c.firstDelayMs));
    EXPECT_EQ(plan.frameTime, FileTimeOf(c.encodes));
  }
}

TEST(PlanFrame, TheExactDelayEndsOnTheBoundaryItself) {
  // 12:00:00.3007: whole milliseconds would put step 1 at 12:00:02.0007.
  const platform::FileTime reading = FileTimeOf(test::MakeTime(2012, 1, 1, 12, 0, 0, 300)) + 7'000;
  const FramePlan plan = PlanFrame(reading);
  EXPECT_EQ(plan.firstDelayMs, 1700u);
  EXPECT_EQ(plan.firstDelay, std::chrono::microseconds(1'699'300));
  const auto due = reading + static_cast<uint64_t>(plan.firstDelay.count() / 100);
  EXPECT_EQ(due, FileTimeOf(test::MakeTime(2012, 1, 1, 12, 0, 2)));
  EXPECT_EQ(plan.frameTime, reading + 4 * platform::kFileTimeUnitsPerSecond);
}

}  // namespace
}  // namespace vantorel
