#pragma once

#include <gtest/gtest.h>

#include "platform/system_time.h"

namespace vantorel::test {

inline platform::SystemTime MakeTime(uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0,
                                     uint16_t mi = 0, uint16_t s = 0, uint16_t ms = 0) {
  platform::SystemTime t;
  t.wYear = y;
  t.wMonth = mo;
  t.wDay = d;
  t.wHour = h;
  t.wMinute = mi;
  t.wSecond = s;
  t.wMilliseconds = ms;
  return t;
}

inline platform::FileTime MakeFileTime(uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0,
                                       uint16_t mi = 0, uint16_t s = 0, uint16_t ms = 0) {
  platform::FileTime f = 0;
  EXPECT_TRUE(platform::SystemTimeToFileTime(MakeTime(y, mo, d, h, mi, s, ms), &f));
  return f;
}

}  // namespace vantorel::test
