#include "platform/system_time.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include "support/times.h"

namespace vantorel::platform {
namespace {

TEST(SystemTime, KnownInstantsConvertBothWays) {
  struct Case {
    SystemTime time;
    FileTime fileTime;
    uint16_t weekday;
  };
  const Case cases[] = {
      {test::MakeTime(1601, 1, 1), 0, 1},                   // a Monday
      {test::MakeTime(1970, 1, 1), kUnixEpochFileTime, 4},  // Thursday
      {test::MakeTime(2000, 2, 29, 12, 0, 0, 1), 125'962'992'000'010'000ULL,
       2},                                                                    // leap day, Tuesday
      {test::MakeTime(2012, 1, 1, 12, 0, 4), 129'698'928'040'000'000ULL, 0},  // Sunday
      {test::MakeTime(9999, 12, 31, 23, 59, 59, 999), 2'650'467'743'999'990'000ULL, 5},
  };
  for (const Case& c : cases) {
    FileTime converted = 1;
    ASSERT_TRUE(SystemTimeToFileTime(c.time, &converted));
    EXPECT_EQ(converted, c.fileTime) << c.time.wYear;
    SystemTime back = c.time;
    back.wDayOfWeek = c.weekday;
    EXPECT_EQ(FileTimeToSystemTime(c.fileTime), back) << c.time.wYear;
  }
}

TEST(SystemTime, FieldsOutOfRangeAreRefused) {
  const SystemTime bad[] = {
      test::MakeTime(1600, 12, 31),         test::MakeTime(2001, 2, 29),
      test::MakeTime(2000, 13, 1),          test::MakeTime(2000, 0, 1),
      test::MakeTime(2000, 4, 31),          test::MakeTime(2000, 1, 0),
      test::MakeTime(2000, 1, 1, 24),       test::MakeTime(2000, 1, 1, 0, 60),
      test::MakeTime(2000, 1, 1, 0, 0, 60), test::MakeTime(2000, 1, 1, 0, 0, 0, 1000),
  };
  for (const SystemTime& t : bad) {
    FileTime out = 42;
    EXPECT_FALSE(SystemTimeToFileTime(t, &out)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
    EXPECT_EQ(out, 42u);
  }
}

// The C library's own calendar is the reference for any instant of 1601..9999 (Windows' own
// covers 1970..3000 only).
TEST(SystemTime, RandomInstantsAgreeWithTheCLibrary) {
  std::mt19937_64 random(20261209);
  const int64_t epoch = -11'644'473'600;  // 1601-01-01 in Unix seconds
#if defined(_WIN32)
  const int64_t first = 0;              // 1970-01-01
  const int64_t last = 32'535'215'999;  // 3000-12-31 23:59:59
#else
  const int64_t first = epoch;
  const int64_t last = 253'402'300'799;  // 9999-12-31 23:59:59
#endif
  std::uniform_int_distribution<int64_t> seconds(first, last);
  std::uniform_int_distribution<int> millis(0, 999);
  for (int i = 0; i < 20000; ++i) {
    const auto unix = static_cast<std::time_t>(seconds(random));
    const int ms = millis(random);
    std::tm parts{};
#if defined(_WIN32)
    ASSERT_EQ(gmtime_s(&parts, &unix), 0);
#else
    ASSERT_NE(gmtime_r(&unix, &parts), nullptr);
#endif
    const SystemTime t = [&] {
      SystemTime s = test::MakeTime(
          static_cast<uint16_t>(parts.tm_year + 1900), static_cast<uint16_t>(parts.tm_mon + 1),
          static_cast<uint16_t>(parts.tm_mday), static_cast<uint16_t>(parts.tm_hour),
          static_cast<uint16_t>(parts.tm_min), static_cast<uint16_t>(parts.tm_sec),
          static_cast<uint16_t>(ms));
      s.wDayOfWeek = static_cast<uint16_t>(parts.tm_wday);
      return s;
    }();
    FileTime fileTime = 0;
    ASSERT_TRUE(SystemTimeToFileTime(t, &fileTime));
    const FileTime expected =
        static_cast<FileTime>((unix - epoch) * kFileTimeUnitsPerSecond + ms * kFileTimeUnitsPerMs);
    ASSERT_EQ(fileTime, expected) << unix;
    ASSERT_EQ(FileTimeToSystemTime(fileTime), t) << unix;
  }
}

TEST(SystemTime, LargestFileTimeStillFitsTheFields) {
  const SystemTime t = FileTimeToSystemTime(~FileTime{0});
  EXPECT_EQ(t.wYear, 60056);
  EXPECT_LE(t.wMonth, 12);
  EXPECT_LE(t.wMilliseconds, 999);
}

}  // namespace
}  // namespace vantorel::platform
