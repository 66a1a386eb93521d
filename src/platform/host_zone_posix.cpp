#include "platform/host_zone.h"

#include <unicode/ucal.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace vantorel::platform {
namespace {

constexpr int kMsPerMinute = 60'000;

std::u16string ToUtf16(const std::string& text) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return {};
  std::u16string out(static_cast<size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()),
                &status);
  return U_FAILURE(status) ? std::u16string{} : out;
}

std::string ToUtf8(const UChar* text, int32_t length) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strToUTF8(nullptr, 0, &needed, text, length, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), needed, nullptr, text, length, &status);
  return U_FAILURE(status) ? std::string{} : out;
}

// "/usr/share/zoneinfo/Asia/Shanghai" -> "Asia/Shanghai".
std::string AfterZoneinfo(const std::string& path) {
  const std::string marker = "zoneinfo/";
  const auto at = path.rfind(marker);
  return at == std::string::npos ? std::string{} : path.substr(at + marker.size());
}

std::string Trimmed(std::string text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// Standard bias from the C library, for a TZ value in POSIX form ("CST-8") that no zone
// database names.
int32_t CLibraryStandardBias() {
  tzset();
  return static_cast<int32_t>(timezone / 60);
}

class RealHostZone final : public HostZone {
 public:
  HostZoneInfo Read() const override {
    HostZoneInfo info;
    if (HostZoneForIanaId(HostIanaZoneId(), &info)) return info;
    info.bias = CLibraryStandardBias();
    return info;
  }
};

}  // namespace

std::string HostIanaZoneId() {
  if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0') {
    std::string value = tz;
    if (value.front() == ':') value.erase(0, 1);
    if (!value.empty() && value.front() == '/') return AfterZoneinfo(value);
    return value;
  }
  std::error_code error;
  const auto target = std::filesystem::read_symlink("/etc/localtime", error);
  if (!error) {
    std::string id = AfterZoneinfo(target.string());
    if (!id.empty()) return id;
  }
  std::ifstream file("/etc/timezone");
  std::string line;
  if (file && std::getline(file, line)) {
    line = Trimmed(line);
    if (!line.empty()) return line;
  }
  // Last resort: ICU's own view of the host.
  std::vector<UChar> buffer(128);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      ucal_getHostTimeZone(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  if (U_FAILURE(status)) return {};
  return ToUtf8(buffer.data(), length);
}

bool HostZoneForIanaId(const std::string& ianaId, HostZoneInfo* out) {
  if (ianaId.empty() || out == nullptr) return false;
  const std::u16string id = ToUtf16(ianaId);
  if (id.empty()) return false;

  UChar canonical[128];
  UBool isSystemId = false;
  UErrorCode status = U_ZERO_ERROR;
  ucal_getCanonicalTimeZoneID(id.data(), static_cast<int32_t>(id.size()), canonical, 128,
                              &isSystemId, &status);
  if (U_FAILURE(status) || !isSystemId) return false;

  status = U_ZERO_ERROR;
  UCalendar* calendar =
      ucal_open(id.data(), static_cast<int32_t>(id.size()), "en_US", UCAL_GREGORIAN, &status);
  if (U_FAILURE(status) || calendar == nullptr) return false;
  const int32_t rawOffsetMs = ucal_get(calendar, UCAL_ZONE_OFFSET, &status);
  ucal_close(calendar);
  if (U_FAILURE(status)) return false;

  HostZoneInfo info;
  info.bias = -rawOffsetMs / kMsPerMinute;
  UChar windowsId[128];
  status = U_ZERO_ERROR;
  const int32_t length = ucal_getWindowsTimeZoneID(id.data(), static_cast<int32_t>(id.size()),
                                                   windowsId, 128, &status);
  if (U_SUCCESS(status) && length > 0) info.standardName = ToUtf8(windowsId, length);
  *out = info;
  return true;
}

const HostZone& SystemHostZone() {
  static const RealHostZone zone;
  return zone;
}

}  // namespace vantorel::platform
