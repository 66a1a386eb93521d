#include "clocks/signal_frame.h"

#include <bit>
#include <cstddef>

namespace vantorel {
namespace {
constexpr int kYearBase = 2000;
constexpr uint64_t kNotCalibratedBit = uint64_t{1} << 33;
constexpr uint64_t kParityBit = uint64_t{1} << 34;
}  // namespace

uint64_t TimeBlock(const platform::SystemTime& t, bool notCalibrated) {
  const uint64_t year =
      static_cast<uint64_t>(t.wYear - kYearBase) & 0x7F;  // modulo 128, also below 2000
  uint64_t block = (t.wSecond & 0x3Fu) | (uint64_t{t.wMinute & 0x3Fu} << 6) |
                   (uint64_t{t.wHour & 0x1Fu} << 12) | (uint64_t{t.wDay & 0x1Fu} << 17) |
                   (uint64_t{t.wMonth & 0x0Fu} << 22) | (year << 26);
  if (notCalibrated) block |= kNotCalibratedBit;
  if (std::popcount(block) % 2 != 0) block |= kParityBit;
  return block;
}

void BuildFrame(uint64_t timeBlock, SignalLevels* levels) {
  auto& l = *levels;
  l[0] = 0;
  l[1] = 1;
  l[2] = 1;
  l[3] = 0;
  for (int bit = 0; bit < kTimeBlockBits; ++bit) {
    l[static_cast<size_t>(kTimeBlockFirstIndex + bit)] =
        static_cast<uint8_t>((timeBlock >> bit) & 1);
  }
  l[39] = 1;
  l[40] = 1;
  l[41] = 0;
}

}  // namespace vantorel
