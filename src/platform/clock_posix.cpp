#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace vantorel::platform {
namespace {

class RealClock final : public Clock {
 public:
  FileTime UtcNow() const override {
    const auto since1970 =
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>>(
            std::chrono::system_clock::now().time_since_epoch());
    return kUnixEpochFileTime + static_cast<FileTime>(since1970.count());
  }

  FileTime LocalNow() const override {
    const FileTime utc = UtcNow();
    const auto seconds =
        static_cast<std::time_t>((utc - kUnixEpochFileTime) / kFileTimeUnitsPerSecond);
    std::tm parts{};
    if (localtime_r(&seconds, &parts) == nullptr) return utc;
    return utc +
           static_cast<FileTime>(static_cast<int64_t>(parts.tm_gmtoff) * kFileTimeUnitsPerSecond);
  }
};

}  // namespace

const Clock& SystemClock() {
  static const RealClock clock;
  return clock;
}

}  // namespace vantorel::platform
