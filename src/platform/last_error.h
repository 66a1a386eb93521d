#pragma once

#include <cstdint>

namespace vantorel::platform {

// The calling thread's last error code, as the socket layer and the time queries leave it.
uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace vantorel::platform
