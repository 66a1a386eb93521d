#include "ntp/ntp_timestamp.h"

#include <gtest/gtest.h>

#include <random>

#include "ntp/sntp_client.h"
#include "support/times.h"

namespace vantorel {
namespace {

NtpTimestamp Secs(uint64_t whole) {
  return NtpTimestamp{whole << 24};
}

TEST(NtpTimestamp, JulianDayNumbers) {
  struct Case {
    uint16_t y, m, d;
    int32_t jdn;
  };
  const Case cases[] = {
      {1900, 1, 1, 2'415'021},  {1970, 1, 1, 2'440'588}, {2000, 1, 1, 2'451'545},
      {2012, 2, 29, 2'455'987}, {2012, 3, 1, 2'455'988}, {2036, 2, 7, 2'464'731},
  };
  for (const Case& c : cases) EXPECT_EQ(NtpTimestamp::JulianDayNumber(c.y, c.m, c.d), c.jdn) << c.y;
}

TEST(NtpTimestamp, MillisecondsAndFractions) {
  EXPECT_EQ(kMsToFraction[0], 0u);
  EXPECT_EQ(kMsToFraction[1], 4'294'967u);
  EXPECT_EQ(kMsToFraction[500], 0x80000000u);
  EXPECT_EQ(kMsToFraction[999], 4'290'672'329u);
  struct Case {
    uint32_t ms;
    uint32_t fraction;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 0x4189}, Case{500, 0x800000}, Case{999, 0xFFBE76}}) {
    EXPECT_EQ(NtpTimestamp::MillisecondsToFraction(c.ms), c.fraction) << c.ms;
  }
  EXPECT_EQ(NtpTimestamp::FractionToSeconds(0xFFFFFF), 1.0);
  EXPECT_EQ(NtpTimestamp::FractionToSeconds(0), 0.0);
  EXPECT_DOUBLE_EQ(NtpTimestamp::FractionToSeconds(0x800000), 8'388'608.0 / 16'777'215.0);
}

TEST(NtpTimestamp, FromSystemTime) {
  struct Case {
    platform::SystemTime utc;
    uint64_t value;
  };
  const Case cases[] = {
      {test::MakeTime(1900, 1, 1), 0},
      {test::MakeTime(1970, 1, 1), uint64_t{2'208'988'800} << 24},
      {test::MakeTime(1970, 1, 1, 0, 0, 0, 500), (uint64_t{2'208'988'800} << 24) + 0x800000},
      {test::MakeTime(2012, 1, 1, 12, 0, 4, 1), (uint64_t{3'534'408'004} << 24) + 0x4189},
      {test::MakeTime(1899, 12, 31, 23, 59, 59), 0},  // before the epoch: outside the type
  };
  for (const Case& c : cases)
    EXPECT_EQ(NtpTimestamp::FromSystemTime(c.utc).Value(), c.value) << c.utc.wYear;
  for (uint16_t year : {1900, 1999, 2024, 2099}) {
    EXPECT_EQ(NtpTimestamp::FromSystemTime(test::MakeTime(year, 6, 15, 1, 2, 3, 500)).Fraction(),
              0x800000u);
    EXPECT_EQ(NtpTimestamp::FromSystemTime(test::MakeTime(year, 6, 15, 1, 2, 3, 0)).Fraction(), 0u);
  }
}

TEST(NtpTimestamp, FromFileTimeAgreesWithTheBrokenDownTimeAndKeepsSubMilliseconds) {
  for (const auto& utc : {test::MakeTime(1900, 1, 1), test::MakeTime(1970, 1, 1, 0, 0, 0, 500),
                          test::MakeTime(2026, 12, 9, 6, 3, 22, 999)}) {
    platform::FileTime fileTime = 0;
    ASSERT_TRUE(platform::SystemTimeToFileTime(utc, &fileTime));
    const NtpTimestamp fine = NtpTimestamp::FromFileTime(fileTime);
    EXPECT_EQ(fine.Seconds(), NtpTimestamp::FromSystemTime(utc).Seconds());
    EXPECT_NEAR(fine.Fraction(), NtpTimestamp::FromSystemTime(utc).Fraction(), 1.0);
    const NtpTimestamp later = NtpTimestamp::FromFileTime(fileTime + 1234);  // 123.4 us
    EXPECT_NEAR(NtpTimestamp::DifferenceInSeconds(later, fine), 123.4e-6, 1e-7);
  }
  EXPECT_EQ(NtpTimestamp::FromFileTime(0).Value(), 0u);  // before 1900
}

TEST(NtpTimestamp, WireFormRoundTrips) {
  const uint8_t wire[8] = {0xE0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const NtpTimestamp t = NtpTimestamp::FromWire(wire);
  EXPECT_EQ(t.Seconds(), 0xE0000000u);
  EXPECT_EQ(t.Fraction(), 0xFFFFFFu);
  uint8_t out[8];
  t.ToWire(out);
  const uint8_t expected[8] = {0xE0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x00};
  EXPECT_EQ(0, memcmp(out, expected, 8));

  std::mt19937_64 random(7);
  for (int i = 0; i < 1000; ++i) {
    const NtpTimestamp value{random() & ((uint64_t{1} << 56) - 1)};
    value.ToWire(out);
    EXPECT_EQ(NtpTimestamp::FromWire(out), value);
  }
}

TEST(NtpTimestamp, DifferencesAreAntisymmetric) {
  const NtpTimestamp a = NtpTimestamp::FromSystemTime(test::MakeTime(2020, 1, 1, 0, 0, 0, 500));
  const NtpTimestamp b = NtpTimestamp::FromSystemTime(test::MakeTime(2020, 1, 1, 0, 0, 0, 0));
  EXPECT_EQ(NtpTimestamp::DifferenceInSeconds(a, a), 0.0);
  EXPECT_DOUBLE_EQ(NtpTimestamp::DifferenceInSeconds(a, b), 8'388'608.0 / 16'777'215.0);
  EXPECT_NE(NtpTimestamp::DifferenceInSeconds(a, b), 0.5);
  std::mt19937_64 random(11);
  for (int i = 0; i < 1000; ++i) {
    const NtpTimestamp x{random() >> 8};
    const NtpTimestamp y{random() >> 8};
    EXPECT_EQ(NtpTimestamp::DifferenceInSeconds(x, y), -NtpTimestamp::DifferenceInSeconds(y, x));
  }
  EXPECT_EQ(NtpTimestamp::DifferenceInSeconds(Secs(0), Secs(3)), -3.0);
}

TEST(NtpTimestamp, WireValuesMoveIntoTheNearestEra) {
  const uint64_t era = uint64_t{1} << 56;
  const NtpTimestamp late2036 = NtpTimestamp::FromSystemTime(test::MakeTime(2036, 3, 1));
  ASSERT_GE(late2036.Value(), era);
  uint8_t wire[8];
  late2036.ToWire(wire);
  EXPECT_EQ(NtpTimestamp::FromWire(wire).InEraOf(late2036), late2036);
  const NtpTimestamp justBefore = Secs(0xFFFFFFF0);
  EXPECT_EQ(justBefore.InEraOf(late2036), justBefore);  // stays in era 0
  EXPECT_EQ(Secs(5).InEraOf(Secs(0xFFFFFFF0)).Value(), era + (uint64_t{5} << 24));
  EXPECT_EQ(Secs(100).InEraOf(Secs(90)), Secs(100));
}

TEST(SntpOffsetAndDelay, FromTheFourTimestamps) {
  struct Case {
    uint64_t t1, t2, t3, t4;
    double offset, delay;
  };
  const Case cases[] = {
      {100, 101, 101, 102, 0.0, 2.0},
      {0, 10, 11, 3, 9.0, 2.0},
      {1000, 990, 990, 1000, -10.0, 0.0},
  };
  for (const Case& c : cases) {
    SntpResult r;
    r.originateTime = Secs(c.t1);
    r.receiveTime = Secs(c.t2);
    r.transmitTime = Secs(c.t3);
    r.destinationTime = Secs(c.t4);
    SntpClient::ComputeOffsetAndDelay(r);
    EXPECT_EQ(r.clockOffset, c.offset) << c.t1;
    EXPECT_EQ(r.roundTripDelay, c.delay) << c.t1;
  }
}

}  // namespace
}  // namespace vantorel
