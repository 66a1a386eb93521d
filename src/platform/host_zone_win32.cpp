#include "platform/host_zone.h"

#include "platform/win32_text.h"

namespace vantorel::platform {
namespace {

// The system's own zone: its key name is already the Windows name the zone table matches.
class RealHostZone final : public HostZone {
 public:
  HostZoneInfo Read() const override {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    HostZoneInfo info;
    if (::GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return info;
    info.bias = static_cast<int32_t>(zone.Bias + zone.StandardBias);
    info.standardName = Utf8FromWide(zone.TimeZoneKeyName);
    return info;
  }
};

}  // namespace

const HostZone& SystemHostZone() {
  static const RealHostZone zone;
  return zone;
}

}  // namespace vantorel::platform
