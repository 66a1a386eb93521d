#include "platform/host_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace vantorel::platform {
namespace {

// Sets TZ for one test and puts the old value back.
class ScopedTz {
 public:
  explicit ScopedTz(const char* value) {
    if (const char* old = std::getenv("TZ")) m_old = old;
    ::setenv("TZ", value, 1);
    tzset();
  }
  ~ScopedTz() {
    if (m_old) {
      ::setenv("TZ", m_old->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> m_old;
};

TEST(HostZone, TzNamesMapToStandardBiasAndWindowsKeyName) {
  struct Case {
    const char* tz;
    int32_t bias;
    const char* name;
  };
  const Case cases[] = {
      {"Asia/Shanghai", -480, "China Standard Time"},
      {"America/New_York", 300, "Eastern Standard Time"},  // standard bias, whatever the season
      {"Asia/Kolkata", -330, "India Standard Time"},
      {"Asia/Kathmandu", -345, "Nepal Standard Time"},
      {"America/St_Johns", 210, "Newfoundland Standard Time"},
      {":Asia/Tokyo", -540, "Tokyo Standard Time"},
      {"/usr/share/zoneinfo/Europe/Berlin", -60, "W. Europe Standard Time"},
  };
  for (const Case& c : cases) {
    ScopedTz tz(c.tz);
    const HostZoneInfo info = SystemHostZone().Read();
    EXPECT_EQ(info.bias, c.bias) << c.tz;
    EXPECT_EQ(info.standardName, c.name) << c.tz;
  }
}

TEST(HostZone, PosixTzWithoutZoneNameKeepsItsOffsetAndHasNoName) {
  ScopedTz tz("XYZ-3");
  const HostZoneInfo info = SystemHostZone().Read();
  EXPECT_EQ(info.bias, -180);
  EXPECT_EQ(info.standardName, "");
}

TEST(HostZone, UnknownIdsAreRefused) {
  HostZoneInfo info{7, "unchanged"};
  for (const char* id : {"", "Mars/Olympus_Mons", "not a zone"}) {
    EXPECT_FALSE(HostZoneForIanaId(id, &info)) << id;
  }
  EXPECT_EQ(info.bias, 7);
  EXPECT_FALSE(HostZoneForIanaId("Asia/Shanghai", nullptr));
}

TEST(HostZone, IanaIdComesFromTz) {
  ScopedTz tz(":Europe/Paris");
  EXPECT_EQ(HostIanaZoneId(), "Europe/Paris");
}

}  // namespace
}  // namespace vantorel::platform
