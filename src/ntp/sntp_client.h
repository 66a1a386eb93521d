#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "ntp/ntp_packet.h"
#include "ntp/ntp_timestamp.h"
#include "platform/clock.h"
#include "platform/udp_socket.h"

namespace vantorel {

struct SntpResult {
  int32_t leapIndicator = 0;
  int32_t stratum = 0;
  NtpTimestamp originateTime;    // T1: our clock when the request left
  NtpTimestamp receiveTime;      // T2: the server's clock when the request arrived
  NtpTimestamp transmitTime;     // T3: the server's clock when the reply left
  NtpTimestamp destinationTime;  // T4: our clock when the reply arrived
  double roundTripDelay = 0.0;   // seconds
  double clockOffset = 0.0;      // seconds; positive when our clock is behind the server
};

// Takes one datagram as the reply to the request whose transmit bytes are given: 0 with the
// result's fields set, kNtpErrorOriginateMismatch when it answers some other request (keep
// waiting), else the check it failed. T1 and T4 are the result's already.
uint32_t TakeSntpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer, size_t length,
                       const NtpWireTimestamp& sentTransmit, SntpResult& result);

// One SNTP request/reply exchange with a named server over UDP.
class SntpClient final {
 public:
  static constexpr uint32_t kDefaultTimeoutMs = 5000;

  explicit SntpClient(
      const platform::Clock& clock = platform::SystemClock(),
      std::shared_ptr<platform::NameResolver> resolver = platform::SystemNameResolver());

  void SetTimeout(uint32_t ms) { timeoutMs = ms; }
  uint32_t Timeout() const { return timeoutMs; }

  // Sockets need no start-up here; kept for the caller's order of things.
  static bool InitializeNetwork() { return platform::StartSockets(); }

  // True with every field of the result set. False leaves the failed step's code as the
  // thread's last error: the socket layer's, 10060 when no valid reply came in time, or one
  // of the reply checks' codes.
  bool Query(const std::string& server, SntpResult& result, uint16_t port = 123);

  // Delay and offset from the four timestamps of a result.
  static void ComputeOffsetAndDelay(SntpResult& result);

  // Ends a query in progress at once, and fails every later one, leaving kErrorInterrupted as
  // its error: the owner is going away. Called from another thread than the query's.
  void Abandon() { m_abandoned = true; }

 private:
  const platform::Clock& m_clock;
  std::shared_ptr<platform::NameResolver> m_resolver;
  uint32_t timeoutMs = kDefaultTimeoutMs;
  std::atomic<bool> m_abandoned{false};
};

}  // namespace vantorel
