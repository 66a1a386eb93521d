#include "platform/executable_dir.h"

#include <cstdlib>
#include <string>

#include "platform/win32_text.h"

namespace vantorel::platform {

std::filesystem::path ExecutableDir() {
  constexpr size_t kLongestPath = 32768;
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= kLongestPath) return {};
    buffer.resize(buffer.size() * 2);  // cut to the buffer: ask again with more room
  }
  const std::filesystem::path exe(buffer);
  return exe.has_parent_path() ? exe.parent_path() : std::filesystem::path();
}

const char* UserConfigHome() {
  return std::getenv("APPDATA");
}

}  // namespace vantorel::platform
