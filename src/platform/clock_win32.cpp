#include "platform/clock.h"

#include "platform/win32_text.h"

namespace vantorel::platform {
namespace {

FileTime FromFileTime(const FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class RealClock final : public Clock {
 public:
  FileTime UtcNow() const override {
    FILETIME now;
    ::GetSystemTimePreciseAsFileTime(&now);
    return FromFileTime(now);
  }

  FileTime LocalNow() const override {
    FILETIME now;
    FILETIME local;
    ::GetSystemTimePreciseAsFileTime(&now);
    if (!::FileTimeToLocalFileTime(&now, &local)) return FromFileTime(now);
    return FromFileTime(local);
  }
};

}  // namespace

const Clock& SystemClock() {
  static const RealClock clock;
  return clock;
}

}  // namespace vantorel::platform
