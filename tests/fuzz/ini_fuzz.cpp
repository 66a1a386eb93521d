// The INI reader and writer on any bytes: no crash, and a written key reads back as written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vantorel::platform::ProfileFile;
  const std::string content(reinterpret_cast<const char*>(data), size);
  ProfileFile::ReadFrom(content, "Vantorel", "strServers");
  const std::string value =
      size > 0 ? content.substr(0, content.find_first_of("\r\n\0", 0, 3) % 64) : "v";
  const std::string written =
      ProfileFile::WriteInto(content, "Vantorel", {{"bDST", "1"}, {"strServers", value}});
  const auto back = ProfileFile::ReadFrom(written, "Vantorel", "bDST");
  if (!back || *back != "1") __builtin_trap();
  return 0;
}
