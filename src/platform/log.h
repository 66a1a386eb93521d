#pragma once

#include <filesystem>
#include <string>

#if defined(__MINGW32__)
#define VANTOREL_PRINTF_LIKE(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__) || defined(__clang__)
#define VANTOREL_PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))
#else
#define VANTOREL_PRINTF_LIKE(f, a)
#endif

namespace vantorel::platform {

// One diagnostic line on standard error, prefixed with the program's name. Never shown to
// the user.
void Log(const char* format, ...) VANTOREL_PRINTF_LIKE(1, 2);

// A path as UTF-8 text for a diagnostic line, whatever the system's own path characters are.
std::string PathText(const std::filesystem::path& path);

}  // namespace vantorel::platform
