#include "platform/system_time.h"

namespace vantorel::platform {

// Civil-date arithmetic on 400-year eras, exact for every proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *day = doy - (153 * mp + 2) / 5 + 1;
  *month = mp < 10 ? mp + 3 : mp - 9;
  *year = static_cast<int64_t>(yoe) + era * 400 + (*month <= 2 ? 1 : 0);
}

unsigned WeekdayFromDays(int64_t days) {
  // 1970-01-01 was a Thursday.
  return static_cast<unsigned>(days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6);
}

namespace {

constexpr int64_t kDaysFrom1601To1970 = 134774;

bool IsLeapYear(unsigned year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool SystemTimeToFileTime(const SystemTime& t, FileTime* out) {
  if (t.wYear < 1601 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
      t.wDay > DaysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 ||
      t.wMilliseconds > 999) {
    return false;
  }
  const int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) + kDaysFrom1601To1970;
  const uint64_t seconds =
      static_cast<uint64_t>(days) * 86400 + t.wHour * 3600u + t.wMinute * 60u + t.wSecond;
  *out = seconds * kFileTimeUnitsPerSecond + t.wMilliseconds * uint64_t{kFileTimeUnitsPerMs};
  return true;
}

SystemTime FileTimeToSystemTime(FileTime time) {
  const auto days = static_cast<int64_t>(time / kFileTimeUnitsPerDay);
  const uint64_t rest = time % kFileTimeUnitsPerDay;
  int64_t year = 0;
  unsigned month = 0;
  unsigned day = 0;
  CivilFromDays(days - kDaysFrom1601To1970, &year, &month, &day);
  SystemTime t;
  t.wYear = static_cast<uint16_t>(year);
  t.wMonth = static_cast<uint16_t>(month);
  t.wDay = static_cast<uint16_t>(day);
  t.wDayOfWeek = static_cast<uint16_t>(WeekdayFromDays(days - kDaysFrom1601To1970));
  const uint64_t ms = rest / kFileTimeUnitsPerMs;
  t.wHour = static_cast<uint16_t>(ms / 3'600'000);
  t.wMinute = static_cast<uint16_t>(ms / 60'000 % 60);
  t.wSecond = static_cast<uint16_t>(ms / 1000 % 60);
  t.wMilliseconds = static_cast<uint16_t>(ms % 1000);
  return t;
}

}  // namespace vantorel::platform
