#include "ntp/ntp_packet.h"

#include <cstring>

namespace vantorel {
namespace {
constexpr int kServerMode = 4;
constexpr int kLeapAlarm = 3;
constexpr int kMaxStratum = 15;
}  // namespace

std::array<uint8_t, kNtpPacketSize> BuildNtpRequest(NtpTimestamp transmit, uint8_t nonce) {
  std::array<uint8_t, kNtpPacketSize> packet{};
  packet[0] = kNtpClientRequestByte;
  transmit.ToWire(&packet[kNtpTransmitOffset]);
  packet[kNtpPacketSize - 1] = nonce;
  return packet;
}

NtpWireTimestamp RequestTransmitBytes(const std::array<uint8_t, kNtpPacketSize>& request) {
  NtpWireTimestamp bytes;
  std::memcpy(bytes.data(), &request[kNtpTransmitOffset], bytes.size());
  return bytes;
}

NtpReply ParseNtpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer) {
  NtpReply reply;
  reply.leapIndicator = (buffer[0] & 0xC0) >> 6;
  reply.version = (buffer[0] >> 3) & 0x07;
  reply.mode = buffer[0] & 0x07;
  reply.stratum = buffer[1];
  reply.originate = NtpTimestamp::FromWire(&buffer[kNtpOriginateOffset]);
  reply.receive = NtpTimestamp::FromWire(&buffer[kNtpReceiveOffset]);
  reply.transmit = NtpTimestamp::FromWire(&buffer[kNtpTransmitOffset]);
  return reply;
}

uint32_t CheckNtpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer, size_t length,
                       const NtpWireTimestamp& requestTransmit) {
  if (length < kNtpPacketSize) return kNtpErrorShortReply;
  // A server echoes our transmit timestamp bit for bit.
  if (std::memcmp(&buffer[kNtpOriginateOffset], requestTransmit.data(), requestTransmit.size()) !=
      0) {
    return kNtpErrorOriginateMismatch;
  }
  const NtpTimestamp sent = NtpTimestamp::FromWire(requestTransmit.data());
  const NtpReply reply = ParseNtpReply(buffer);
  if (reply.version < 1 || reply.version > 4) return kNtpErrorBadVersion;
  if (reply.mode != kServerMode) return kNtpErrorBadMode;
  if (reply.stratum == 0) {
    const auto code = [&](const char* text) {
      return std::memcmp(&buffer[kNtpReferenceIdOffset], text, 4) == 0;
    };
    if (code("RATE")) return kNtpErrorKissRate;
    if (code("DENY") || code("RSTR")) return kNtpErrorKissDeny;
    return kNtpErrorKissOfDeath;
  }
  if (reply.stratum > kMaxStratum) return kNtpErrorUnsynchronised;
  if (reply.leapIndicator == kLeapAlarm) return kNtpErrorLeapAlarm;
  if (reply.transmit.Value() == 0) return kNtpErrorZeroTransmit;
  if (reply.transmit.InEraOf(sent).Value() < reply.receive.InEraOf(sent).Value()) {
    return kNtpErrorTransmitBeforeReceive;
  }
  return 0;
}

}  // namespace vantorel
