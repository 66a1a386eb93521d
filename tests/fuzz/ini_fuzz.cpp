// The INI reader and writer on any bytes, UTF-8 or UTF-16 (input that starts with FF FE): no
// crash, a written key reads back as written, and a UTF-16 file stays UTF-16.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vantorel::platform::ProfileFile;
  const ProfileFile::Content file =
      ProfileFile::Decode(std::string(reinterpret_cast<const char*>(data), size));
  const std::string& content = file.text;
  ProfileFile::ReadFrom(content, "Vantorel", "strServers");
  const std::string value =
      !content.empty() ? content.substr(0, content.find_first_of("\r\n\0", 0, 3) % 64) : "v";
  const std::string written =
      ProfileFile::WriteInto(content, "Vantorel", {{"bDST", "1"}, {"strServers", value}});
  const ProfileFile::Content stored =
      ProfileFile::Decode(ProfileFile::Encode(written, file.encoding));
  if (stored.encoding != file.encoding) __builtin_trap();
  const auto back = ProfileFile::ReadFrom(stored.text, "Vantorel", "bDST");
  if (!back || *back != "1") __builtin_trap();
  return 0;
}
