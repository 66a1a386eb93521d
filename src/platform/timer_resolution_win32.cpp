#include "platform/timer_resolution.h"

#include <windows.h>
#include <timeapi.h>

namespace vantorel::platform {
namespace {
constexpr UINT kPeriodMs = 1;
}

FineTimerResolution::FineTimerResolution()
    : m_raised(::timeBeginPeriod(kPeriodMs) == TIMERR_NOERROR) {}

FineTimerResolution::~FineTimerResolution() {
  if (m_raised) ::timeEndPeriod(kPeriodMs);
}

}  // namespace vantorel::platform
