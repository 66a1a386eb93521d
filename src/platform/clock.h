#pragma once

#include "platform/system_time.h"

namespace vantorel::platform {

// The machine's wall clock. Replaced by a fake in tests so no test depends on the real date.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual FileTime UtcNow() const = 0;
  // The host's local wall clock, daylight saving included.
  virtual FileTime LocalNow() const = 0;
};

const Clock& SystemClock();

}  // namespace vantorel::platform
