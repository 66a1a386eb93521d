// The reply checks and parsing on any datagram: no crash, and a reply that passes is one a
// server could send: mode 4, stratum 1..15, LI not 3, a transmit time, our originate.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ntp/ntp_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantorel;
  std::array<uint8_t, kNtpReplyBufferSize> buffer{};
  const size_t length = std::min(size, buffer.size());
  std::memcpy(buffer.data(), data, length);
  const auto request = BuildNtpRequest(NtpTimestamp{uint64_t{3'900'000'000} << 24}, 0x5A);
  const NtpWireTimestamp sent = RequestTransmitBytes(request);
  const uint32_t check = CheckNtpReply(buffer, length, sent);
  const NtpReply reply = ParseNtpReply(buffer);
  if (check == 0) {
    if (reply.mode != 4 || reply.stratum < 1 || reply.stratum > 15 || reply.leapIndicator == 3 ||
        reply.transmit.Value() == 0 ||
        std::memcmp(&buffer[kNtpOriginateOffset], sent.data(), 8) != 0) {
      __builtin_trap();
    }
  }
  NtpTimestamp::DifferenceInSeconds(reply.transmit, reply.receive);
  reply.transmit.InEraOf(reply.receive);
  return 0;
}
