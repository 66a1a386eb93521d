#include "platform/log.h"

#include <cstdarg>
#include <cstdio>

namespace vantorel::platform {

void Log(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  // One call per line, so lines of several threads do not interleave.
  std::fprintf(stderr, "vantorel: %s\n", line);
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace vantorel::platform
