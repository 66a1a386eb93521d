#include "ntp/ntp_timestamp.h"

namespace vantorel {
namespace {

uint32_t ReadBigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         bytes[3];
}

void WriteBigEndian32(uint32_t value, uint8_t* bytes) {
  bytes[0] = static_cast<uint8_t>(value >> 24);
  bytes[1] = static_cast<uint8_t>(value >> 16);
  bytes[2] = static_cast<uint8_t>(value >> 8);
  bytes[3] = static_cast<uint8_t>(value);
}

constexpr uint64_t kEraSpan = uint64_t{1} << (32 + NtpTimestamp::kFractionBits);

}  // namespace

int32_t NtpTimestamp::JulianDayNumber(uint16_t year, uint16_t month, uint16_t day) {
  int32_t y = year;
  int32_t m = month;
  if (m > 2) {
    m -= 3;
  } else {
    m += 9;
    y -= 1;
  }
  const int32_t c = y / 100;
  const int32_t ya = y - 100 * c;
  return (146097 * c) / 4 + (1461 * ya) / 4 + (153 * m + 2) / 5 + day + 1'721'119;
}

uint32_t NtpTimestamp::MillisecondsToFraction(uint32_t ms) {
  return kMsToFraction[ms < kMsToFraction.size() ? ms : kMsToFraction.size() - 1] >> 8;
}

double NtpTimestamp::FractionToSeconds(uint32_t fraction) {
  // Divides by 2^24 - 1, not 2^24: the largest fraction maps to exactly one second.
  constexpr double kPerFraction = 1.0 / 16'777'215.0;
  return fraction * kPerFraction;
}

NtpTimestamp NtpTimestamp::FromSystemTime(const platform::SystemTime& utc) {
  const int64_t days = JulianDayNumber(utc.wYear, utc.wMonth, utc.wDay) - kEpochJulianDay;
  if (days < 0) return NtpTimestamp{};  // before the epoch: outside the type
  const int64_t seconds = ((days * 24 + utc.wHour) * 60 + utc.wMinute) * 60 + utc.wSecond;
  return NtpTimestamp{(static_cast<uint64_t>(seconds) << kFractionBits) +
                      MillisecondsToFraction(utc.wMilliseconds)};
}

NtpTimestamp NtpTimestamp::FromFileTime(platform::FileTime utc) {
  constexpr uint64_t kSecondsFrom1601To1900 = 9'435'484'800;
  const uint64_t seconds = utc / platform::kFileTimeUnitsPerSecond;
  if (seconds < kSecondsFrom1601To1900) return NtpTimestamp{};
  const uint64_t units = utc % platform::kFileTimeUnitsPerSecond;
  const uint64_t fraction = (units << kFractionBits) / platform::kFileTimeUnitsPerSecond;
  return NtpTimestamp{((seconds - kSecondsFrom1601To1900) << kFractionBits) + fraction};
}

// The request's and reply's instants carry the clock's full resolution: with whole
// milliseconds the offset would be off by up to a millisecond.
NtpTimestamp NtpTimestamp::Now(const platform::Clock& clock) {
  return FromFileTime(clock.UtcNow());
}

NtpTimestamp NtpTimestamp::FromWire(const uint8_t* bytes) {
  const uint64_t seconds = ReadBigEndian32(bytes);
  const uint32_t fraction = ReadBigEndian32(bytes + 4);
  return NtpTimestamp{(seconds << kFractionBits) + (fraction >> 8)};
}

void NtpTimestamp::ToWire(uint8_t* bytes) const {
  WriteBigEndian32(Seconds(), bytes);
  WriteBigEndian32(Fraction() << 8, bytes + 4);
}

NtpTimestamp NtpTimestamp::InEraOf(NtpTimestamp reference) const {
  const uint64_t inEra = m_value & (kEraSpan - 1);
  const uint64_t base = reference.m_value & ~(kEraSpan - 1);
  uint64_t best = base + inEra;
  // Pick whichever of this era, the one before and the one after lies nearest.
  if (best > reference.m_value && best - reference.m_value > kEraSpan / 2 && base >= kEraSpan) {
    best -= kEraSpan;
  } else if (best < reference.m_value && reference.m_value - best > kEraSpan / 2) {
    best += kEraSpan;
  }
  return NtpTimestamp{best};
}

double NtpTimestamp::DifferenceInSeconds(NtpTimestamp a, NtpTimestamp b) {
  const bool negative = a.m_value < b.m_value;
  const NtpTimestamp d{negative ? b.m_value - a.m_value : a.m_value - b.m_value};
  const double magnitude = static_cast<double>(d.Seconds()) + FractionToSeconds(d.Fraction());
  return negative ? -magnitude : magnitude;
}

}  // namespace vantorel
