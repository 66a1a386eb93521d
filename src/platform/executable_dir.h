#pragma once

#include <filesystem>

namespace vantorel::platform {

// The folder of the running executable, or an empty path when it cannot be told.
std::filesystem::path ExecutableDir();

}  // namespace vantorel::platform
