#include "clocks/digital_clock.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/message_target.h"
#include "support/fakes.h"
#include "support/recording_target.h"
#include "support/times.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using Message = test::RecordingTarget::Message;
using platform::kFileTimeUnitsPerMs;
using platform::kFileTimeUnitsPerSecond;

Message Date(const char* text) {
  return {kMsgClockDate, text, 0, false};
}
Message Weekday(uintptr_t day) {
  return {kMsgClockWeekday, {}, day, false};
}
Message Time(const char* text, uint16_t ms = 0) {
  return {kMsgClockTime, text, 0, true, ms};
}
Message Correction() {
  return {kMsgClockCorrection, {}, 0, false};
}

TEST(DigitalClockTick, DateAndWeekdayBeforeTimeOnlyWhenTheDateChanges) {
  test::FixedClock clock(test::MakeFileTime(2026, 12, 9, 23, 59, 58, 7));
  test::RecordingTarget target;
  DigitalClock engine(clock);
  engine.SetTarget(&target);

  engine.Tick();
  clock.Set(test::MakeFileTime(2026, 12, 9, 23, 59, 59, 7));
  engine.Tick();
  clock.Set(test::MakeFileTime(2026, 12, 10, 0, 0, 0, 7));  // midnight
  engine.Tick();
  EXPECT_EQ(target.Take(),
            (std::vector<Message>{Date("2026-12-09"), Weekday(3), Time("23:59:58", 7),
                                  Time("23:59:59", 7), Date("2026-12-10"), Weekday(4),
                                  Time("00:00:00", 7)}));

  const int64_t halfSecond = 5'000'000;
  engine.SetCorrection(&halfSecond);  // the date goes out again on the next tick
  engine.Tick();
  EXPECT_EQ(target.Take(), (std::vector<Message>{Correction(), Date("2026-12-10"), Weekday(4),
                                                 Time("00:00:00", 507)}));
  EXPECT_EQ(engine.Flags() & DigitalClock::kCorrectionPresent, DigitalClock::kCorrectionPresent);

  engine.SetCorrection(nullptr);
  engine.Tick();
  EXPECT_EQ(target.Take(), (std::vector<Message>{Correction(), Date("2026-12-10"), Weekday(4),
                                                 Time("00:00:00", 7)}));
  EXPECT_EQ(engine.Flags() & DigitalClock::kCorrectionPresent, 0);
  EXPECT_EQ(engine.Correction(), 0);
}

TEST(DigitalClockTick, NothingIsSentWithoutATarget) {
  test::FixedClock clock(test::MakeFileTime(2026, 12, 9, 12, 0, 0));
  test::RecordingTarget target;
  DigitalClock engine(clock);
  engine.Tick();
  engine.SetCorrection(nullptr);
  engine.Stop();
  engine.SetTarget(&target);
  engine.Tick();  // the date the target never saw still counts as sent
  EXPECT_EQ(target.Take(),
            (std::vector<Message>{Date("2026-12-09"), Weekday(3), Time("12:00:00")}));
}

TEST(DigitalClockStop, ShowsThePlaceholdersInOrderAndKeepsTheCorrection) {
  test::FixedClock clock(test::MakeFileTime(2026, 12, 9, 12, 0, 0));
  test::RecordingTarget target;
  DigitalClock engine(clock);
  const int64_t correction = 12345;
  engine.SetCorrection(&correction);
  engine.SetTarget(&target);
  engine.Stop();
  EXPECT_EQ(target.Take(),
            (std::vector<Message>{
                {kMsgClockTime, "--:--:--", 0, false}, Date("----------"), Weekday(0)}));
  EXPECT_EQ(engine.Flags(), 0);
  EXPECT_EQ(engine.Correction(), correction);
}

TEST(DigitalClockTime, CorrectionAndZoneShiftMoveTheTimeFromUtc) {
  struct Case {
    const char* what;
    int64_t correction;
    int32_t zoneBias;
    platform::FileTime expected;
  };
  const platform::FileTime now = test::MakeFileTime(2026, 12, 9, 12, 0, 0, 0);
  const Case cases[] = {
      {"UTC+8", 0, -480, test::MakeFileTime(2026, 12, 9, 20, 0, 0)},
      {"UTC+8 with DST", 0, -540, test::MakeFileTime(2026, 12, 9, 21, 0, 0)},
      {"UTC+5:45 and +0.5 s", 5'000'000, -345, test::MakeFileTime(2026, 12, 9, 17, 45, 0, 500)},
      {"UTC-3:30 and -1.25 s", -12'500'000, 210, test::MakeFileTime(2026, 12, 9, 8, 29, 58, 750)},
  };
  for (const Case& c : cases) {
    for (const int32_t hostBias : {0, -480, 300}) {  // the host's own zone never enters
      test::FixedClock clock(now, hostBias);
      DigitalClock engine(clock);
      engine.SetCorrection(&c.correction);
      engine.SetZoneBias(c.zoneBias);
      EXPECT_EQ(engine.CorrectedNow(), c.expected) << c.what;
      platform::SystemTime t;
      ASSERT_TRUE(engine.GetCorrectedTime(&t));
      EXPECT_EQ(t, platform::FileTimeToSystemTime(c.expected)) << c.what;
    }
  }
  DigitalClock engine;
  engine.SetZoneBias(-480);
  EXPECT_EQ(engine.ZoneShift(), 288'000'000'000);
  EXPECT_FALSE(engine.GetCorrectedTime(nullptr));
}

// Real timers from here on: bounds are generous, the benchmark measures the real figures.
TEST(DigitalClockRunning, TicksJustAfterTheCorrectedSecondBoundaries) {
  test::RecordingTarget target;
  DigitalClock engine;
  const int64_t halfSecond = 5'000'000;
  engine.SetCorrection(&halfSecond);
  engine.SetTarget(&target);
  ASSERT_TRUE(engine.Start());
  std::this_thread::sleep_for(3500ms);
  engine.SetTarget(nullptr);
  engine.Stop();

  std::vector<uint16_t> lateness;
  for (const Message& m : target.Take()) {
    if (m.id == kMsgClockTime && m.hasTime) lateness.push_back(m.ms);
  }
  ASSERT_GE(lateness.size(), 4u);
  // The first ticks align; from the third on each lands just after a boundary.
  for (size_t i = 2; i < lateness.size(); ++i) EXPECT_LT(lateness[i], 200) << i;
}

TEST(DigitalClockRunning, StopAndStartKeepOneTickThreadAndSendNoNewDate) {
  test::FixedClock clock(
      test::MakeFileTime(2026, 12, 9, 12, 0, 0));  // on a boundary: ticks every second
  test::RecordingTarget target;
  DigitalClock engine(clock);
  engine.SetTarget(&target);
  engine.SetCorrection(nullptr);
  ASSERT_TRUE(engine.Start());
  std::this_thread::sleep_for(300ms);  // the first tick sends the date
  const auto loopStart = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) {  // restarts at once, while the old thread may still be ending
    engine.Stop();
    ASSERT_TRUE(engine.Start());
    EXPECT_NE(engine.Flags() & DigitalClock::kRunning, 0);
  }
  // Stop wakes the tick thread, so none of the restarts waits for a time-out.
  EXPECT_LT(std::chrono::steady_clock::now() - loopStart, 2s);
  std::this_thread::sleep_for(50ms);
  target.Take();
  std::this_thread::sleep_for(1300ms);
  const auto messages = target.Take();
  int times = 0;
  int dates = 0;
  for (const Message& m : messages) {
    times += m.id == kMsgClockTime ? 1 : 0;
    dates += m.id == kMsgClockDate ? 1 : 0;
  }
  EXPECT_GE(times, 1);
  EXPECT_EQ(dates, 0);  // the date went out once after SetCorrection and has not changed
  engine.SetTarget(nullptr);
  engine.Stop();
}

}  // namespace
}  // namespace vantorel
