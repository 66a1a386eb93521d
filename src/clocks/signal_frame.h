#pragma once

#include <array>
#include <cstdint>

#include "platform/system_time.h"

namespace vantorel {

// The light signal's frame: index 0 is the idle level, steps 1..41 show indices 1..41.
inline constexpr int kFrameSteps = 41;
inline constexpr int kTimeBlockBits = 35;
inline constexpr int kTimeBlockFirstIndex = 4;
using SignalLevels = std::array<uint8_t, 256>;

// The 35-bit time block: second, minute, hour, day, month, (year - 2000) mod 128, the
// not-calibrated flag, and a parity bit that makes the count of ones even.
uint64_t TimeBlock(const platform::SystemTime& time, bool notCalibrated);

// Writes indices 0..41: idle 0; start marker 1, 1, 0; the block, least significant bit
// first; end marker 1, 1; then 0, so every frame ends dark.
void BuildFrame(uint64_t timeBlock, SignalLevels* levels);

}  // namespace vantorel
