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

}  // namespace vantorel::platform
