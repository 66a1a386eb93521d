#pragma once

#include <cstdint>
#include <string>

namespace vantorel::platform {

// What the rest of the program knows of the host's zone: the standard-time bias in minutes
// (UTC = local standard time + bias) and the zone's Windows standard-time key name
// ("China Standard Time"), empty when the zone has none.
struct HostZoneInfo {
  int32_t bias = 0;
  std::string standardName;
};

class HostZone {
 public:
  virtual ~HostZone() = default;
  virtual HostZoneInfo Read() const = 0;
};

// The real host zone, read afresh on every call: from TZ, /etc/localtime or /etc/timezone on
// Linux, from the system's own zone information on Windows.
const HostZone& SystemHostZone();

#if !defined(_WIN32)
// Where the system keeps its zone as an IANA id (the Linux stand-in), the id and its mapping:
// The IANA id of the host's zone ("Asia/Shanghai"), or empty when it cannot be told.
std::string HostIanaZoneId();
// Bias and Windows key name of an IANA zone; false for an id the zone data does not know.
bool HostZoneForIanaId(const std::string& ianaId, HostZoneInfo* out);

#endif

}  // namespace vantorel::platform
