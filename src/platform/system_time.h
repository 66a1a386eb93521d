#pragma once

#include <cstdint>

namespace vantorel::platform {

// Broken-down time with the platform's eight 16-bit fields.
struct SystemTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;      // 1..12
  uint16_t wDayOfWeek = 0;  // 0 = Sunday
  uint16_t wDay = 0;        // 1..31
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;

  friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

// Count of 100 ns units since 1601-01-01 00:00:00.
using FileTime = uint64_t;

inline constexpr int64_t kFileTimeUnitsPerMs = 10'000;
inline constexpr int64_t kFileTimeUnitsPerSecond = 10'000'000;
inline constexpr int64_t kFileTimeUnitsPerMinute = 60 * kFileTimeUnitsPerSecond;
inline constexpr int64_t kFileTimeUnitsPerDay = 86'400 * kFileTimeUnitsPerSecond;
// 1970-01-01 as a file time.
inline constexpr FileTime kUnixEpochFileTime = 116'444'736'000'000'000ULL;

// Days since 1970-01-01 of a proleptic Gregorian date (negative before it).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
// The date of a day count since 1970-01-01.
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day);
// 0 = Sunday.
unsigned WeekdayFromDays(int64_t days);

// False (and *out untouched) for a field out of range or a date before 1601.
// The day of week is ignored.
bool SystemTimeToFileTime(const SystemTime& time, FileTime* out);
// Every 64-bit value converts; the year stays below 60,056 and fits its field.
SystemTime FileTimeToSystemTime(FileTime time);

}  // namespace vantorel::platform
