#pragma once

#include <array>
#include <cstdint>

#include "platform/clock.h"
#include "platform/system_time.h"

namespace vantorel {

// The 32-bit NTP fraction of i milliseconds, rounded: i * 2^32 / 1000.
inline constexpr std::array<uint32_t, 1000> kMsToFraction = [] {
  std::array<uint32_t, 1000> table{};
  for (uint64_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<uint32_t>((i * (1ULL << 32) + 500) / 1000);
  return table;
}();

// Time since 1900-01-01 00:00:00 UTC as fixed point: whole seconds above bit 24, a 24-bit
// fraction below.
class NtpTimestamp {
 public:
  static constexpr int32_t kEpochJulianDay = 2'415'021;  // 1900-01-01
  static constexpr uint32_t kUnixEpochSeconds = 2'208'988'800;
  static constexpr int kFractionBits = 24;
  static constexpr uint32_t kFractionMask = 0xFFFFFF;

  constexpr NtpTimestamp() = default;
  constexpr explicit NtpTimestamp(uint64_t value) : m_value(value) {}

  static NtpTimestamp FromSystemTime(const platform::SystemTime& utc);
  // Keeps the file time's full resolution, finer than the broken-down time's millisecond.
  static NtpTimestamp FromFileTime(platform::FileTime utc);
  static NtpTimestamp Now(const platform::Clock& clock = platform::SystemClock());
  static NtpTimestamp FromWire(const uint8_t* bytes);
  void ToWire(uint8_t* bytes) const;

  constexpr uint64_t Value() const { return m_value; }
  constexpr uint32_t Seconds() const { return static_cast<uint32_t>(m_value >> kFractionBits); }
  constexpr uint32_t Fraction() const { return static_cast<uint32_t>(m_value & kFractionMask); }

  // The same wire value moved into the 136-year NTP era nearest the reference, so that
  // replies stay right across the era change of 2036.
  NtpTimestamp InEraOf(NtpTimestamp reference) const;

  // a - b in seconds.
  static double DifferenceInSeconds(NtpTimestamp a, NtpTimestamp b);
  static int32_t JulianDayNumber(uint16_t year, uint16_t month, uint16_t day);
  static uint32_t MillisecondsToFraction(uint32_t ms);
  static double FractionToSeconds(uint32_t fraction);

  friend constexpr bool operator==(NtpTimestamp, NtpTimestamp) = default;

 private:
  uint64_t m_value = 0;
};

}  // namespace vantorel
