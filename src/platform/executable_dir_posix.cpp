#include "platform/executable_dir.h"

#include <cstdlib>
#include <system_error>

namespace vantorel::platform {

std::filesystem::path ExecutableDir() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !exe.has_parent_path()) return {};
  return exe.parent_path();
}

const char* UserConfigHome() {
  return std::getenv("XDG_CONFIG_HOME");
}

}  // namespace vantorel::platform
