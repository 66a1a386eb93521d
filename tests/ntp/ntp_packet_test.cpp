#include "ntp/ntp_packet.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantorel {
namespace {

using Buffer = std::array<uint8_t, kNtpReplyBufferSize>;

// A reply that passes every check, for the request whose transmit bytes are given.
Buffer ValidReply(const NtpWireTimestamp& sent) {
  Buffer b{};
  b[0] = (0 << 6) | (4 << 3) | 4;
  b[1] = 2;
  std::copy(sent.begin(), sent.end(), b.begin() + kNtpOriginateOffset);
  const NtpTimestamp server{(uint64_t{3'900'000'000} << 24) + 5};
  server.ToWire(&b[kNtpReceiveOffset]);
  NtpTimestamp{server.Value() + 100}.ToWire(&b[kNtpTransmitOffset]);
  return b;
}

void Kiss(Buffer& b, const char* code, uint8_t stratum = 0) {
  b[1] = stratum;
  std::copy_n(code, 4, &b[kNtpReferenceIdOffset]);
}

TEST(NtpRequest, IsAllZeroButModeByteTransmitAndNonce) {
  const NtpTimestamp t1{(uint64_t{3'900'000'000} << 24) + 0x123456};
  const auto request = BuildNtpRequest(t1, 0xAB);
  EXPECT_EQ(request[0], 0x1B);
  for (size_t i = 1; i < kNtpTransmitOffset; ++i) EXPECT_EQ(request[i], 0) << i;
  // The nonce sits below the timestamp's resolution: the timestamp reads back unchanged.
  EXPECT_EQ(NtpTimestamp::FromWire(&request[kNtpTransmitOffset]), t1);
  EXPECT_EQ(request[47], 0xAB);
}

TEST(NtpReplyChecks, EachFaultHasItsOwnCode) {
  const NtpWireTimestamp sent =
      RequestTransmitBytes(BuildNtpRequest(NtpTimestamp{uint64_t{3'900'000'000} << 24}, 7));
  struct Case {
    const char* name;
    std::function<void(Buffer&)> spoil;
    size_t length;
    uint32_t code;
  };
  const Case cases[] = {
      {"valid", [](Buffer&) {}, 48, 0},
      {"valid with key and digest", [](Buffer&) {}, 68, 0},
      {"version 1 passes", [](Buffer& b) { b[0] = (1 << 3) | 4; }, 48, 0},
      {"version 3 passes", [](Buffer& b) { b[0] = (3 << 3) | 4; }, 48, 0},
      {"short", [](Buffer&) {}, 47, kNtpErrorShortReply},
      {"version 0", [](Buffer& b) { b[0] = (0 << 3) | 4; }, 48, kNtpErrorBadVersion},
      {"version 5", [](Buffer& b) { b[0] = (5 << 3) | 4; }, 48, kNtpErrorBadVersion},
      {"mode 3 (a client)", [](Buffer& b) { b[0] = (4 << 3) | 3; }, 48, kNtpErrorBadMode},
      {"mode 5 (broadcast)", [](Buffer& b) { b[0] = (4 << 3) | 5; }, 48, kNtpErrorBadMode},
      {"stratum 0: kiss-o'-death", [](Buffer& b) { b[1] = 0; }, 48, kNtpErrorKissOfDeath},
      {"kiss code RATE", [](Buffer& b) { Kiss(b, "RATE"); }, 48, kNtpErrorKissRate},
      {"kiss code DENY", [](Buffer& b) { Kiss(b, "DENY"); }, 48, kNtpErrorKissDeny},
      {"kiss code RSTR", [](Buffer& b) { Kiss(b, "RSTR"); }, 48, kNtpErrorKissDeny},
      {"kiss code INIT", [](Buffer& b) { Kiss(b, "INIT"); }, 48, kNtpErrorKissOfDeath},
      {"a stratum 2 reference id RATE is no kiss", [](Buffer& b) { Kiss(b, "RATE", 2); }, 48, 0},
      {"stratum 16", [](Buffer& b) { b[1] = 16; }, 48, kNtpErrorUnsynchronised},
      {"stratum 15 passes", [](Buffer& b) { b[1] = 15; }, 48, 0},
      {"LI 3", [](Buffer& b) { b[0] |= 0xC0; }, 48, kNtpErrorLeapAlarm},
      {"LI 1 passes", [](Buffer& b) { b[0] |= 0x40; }, 48, 0},
      {"zero transmit", [](Buffer& b) { std::fill_n(&b[kNtpTransmitOffset], 8, 0); }, 48,
       kNtpErrorZeroTransmit},
      {"transmit before receive",
       [](Buffer& b) {
         std::swap_ranges(&b[kNtpReceiveOffset], &b[kNtpReceiveOffset + 8], &b[kNtpTransmitOffset]);
       },
       48, kNtpErrorTransmitBeforeReceive},
      {"originate differs in the nonce", [](Buffer& b) { b[kNtpOriginateOffset + 7] ^= 1; }, 48,
       kNtpErrorOriginateMismatch},
      {"originate zero", [](Buffer& b) { std::fill_n(&b[kNtpOriginateOffset], 8, 0); }, 48,
       kNtpErrorOriginateMismatch},
  };
  for (const Case& c : cases) {
    Buffer reply = ValidReply(sent);
    c.spoil(reply);
    EXPECT_EQ(CheckNtpReply(reply, c.length, sent), c.code) << c.name;
  }
}

TEST(NtpReplyParse, ReadsTheFieldsAndIgnoresBytesPast48) {
  const NtpWireTimestamp sent{};
  Buffer reply = ValidReply(sent);
  reply[0] |= 0x80;
  for (size_t i = 48; i < reply.size(); ++i) reply[i] = 0xEE;
  const NtpReply parsed = ParseNtpReply(reply);
  EXPECT_EQ(parsed.leapIndicator, 2);
  EXPECT_EQ(parsed.version, 4);
  EXPECT_EQ(parsed.mode, 4);
  EXPECT_EQ(parsed.stratum, 2);
  EXPECT_EQ(parsed.transmit.Value() - parsed.receive.Value(), 100u);
}

}  // namespace
}  // namespace vantorel
