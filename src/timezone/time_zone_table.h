#pragma once

#include <array>
#include <cstddef>

namespace vantorel {

struct TimeZoneRow {
  float hoursFromUtc;               // standard offset, east positive; quarter hours occur
  const char* keyName;              // the zone's Windows standard-time key name
  const char* englishDisplay;       // list text in English
  const char* chineseStandardName;  // the standard name a Chinese system reports
  const char* chineseDisplay;       // list text in Chinese
};

inline constexpr int kTimeZoneCount = 75;

// 75 rows, then one empty row that ends the table.
extern const std::array<TimeZoneRow, kTimeZoneCount + 1> kTimeZones;

inline bool IsValidZoneIndex(int index) {
  return index >= 0 && index < kTimeZoneCount;
}

}  // namespace vantorel
