#pragma once

namespace vantorel::platform {

// One diagnostic line on standard error, prefixed with the program's name. Never shown to
// the user.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vantorel::platform
