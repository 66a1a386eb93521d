#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ntp/ntp_timestamp.h"

namespace vantorel {

inline constexpr size_t kNtpPacketSize = 48;
// Header plus room for the optional key identifier and message digest.
inline constexpr size_t kNtpReplyBufferSize = 68;
inline constexpr uint8_t kNtpClientRequestByte = 0x1B;  // LI 0, version 3, mode 3
inline constexpr size_t kNtpOriginateOffset = 24;
inline constexpr size_t kNtpReceiveOffset = 32;
inline constexpr size_t kNtpTransmitOffset = 40;

// Last-error codes of a reply that fails a check. Distinct from the socket layer's.
enum NtpReplyError : uint32_t {
  kNtpErrorShortReply = 20001,
  kNtpErrorBadVersion = 20002,
  kNtpErrorBadMode = 20003,
  kNtpErrorKissOfDeath = 20004,     // stratum 0, a code other than those below
  kNtpErrorUnsynchronised = 20005,  // stratum 16 or more
  kNtpErrorLeapAlarm = 20006,       // LI 3: the server's clock is not synchronised
  kNtpErrorZeroTransmit = 20007,
  kNtpErrorTransmitBeforeReceive = 20008,
  kNtpErrorOriginateMismatch = 20009,  // not the answer to our request: keep waiting
  kNtpErrorKissRate = 20010,           // kiss code RATE: asked too often
  kNtpErrorKissDeny = 20011,           // kiss code DENY or RSTR: not to be asked at all
};
inline constexpr size_t kNtpReferenceIdOffset = 12;

using NtpWireTimestamp = std::array<uint8_t, 8>;

// The request carries the transmit timestamp; the nonce fills the wire fraction's lowest
// byte, below the timestamp's resolution, so two requests of the same millisecond still
// differ and a reply to an earlier one is not taken for the answer to this one.
std::array<uint8_t, kNtpPacketSize> BuildNtpRequest(NtpTimestamp transmit, uint8_t nonce);
NtpWireTimestamp RequestTransmitBytes(const std::array<uint8_t, kNtpPacketSize>& request);

struct NtpReply {
  int32_t leapIndicator = 0;
  int32_t version = 0;
  int32_t mode = 0;
  int32_t stratum = 0;
  NtpTimestamp originate;
  NtpTimestamp receive;
  NtpTimestamp transmit;
};

// The fields of a reply buffer; bytes the server did not send read as zero.
NtpReply ParseNtpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer);

// 0 when a reply of that length answers the request whose transmit bytes are given and
// comes from a synchronised server; else the first check it fails.
uint32_t CheckNtpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer, size_t length,
                       const NtpWireTimestamp& requestTransmit);

}  // namespace vantorel
