#pragma once

#include <functional>

namespace vantorel::platform {

// Runs the work on a thread nobody joins, for work its caller may stop waiting for. False, and
// the work never runs, when no thread could be started.
bool StartDetachedThread(std::function<void()> work);

}  // namespace vantorel::platform
