#include "ntp/sntp_client.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <random>

#include "ntp/ntp_packet.h"
#include "ntp/udp_channel.h"
#include "platform/last_error.h"

namespace vantorel {

using platform::SetLastError;

SntpClient::SntpClient(const platform::Clock& clock,
                       std::shared_ptr<platform::NameResolver> resolver)
    : m_clock(clock), m_resolver(std::move(resolver)) {}

void SntpClient::ComputeOffsetAndDelay(SntpResult& r) {
  const auto d = NtpTimestamp::DifferenceInSeconds;
  r.roundTripDelay = d(r.destinationTime, r.originateTime) - d(r.transmitTime, r.receiveTime);
  r.clockOffset = (d(r.receiveTime, r.originateTime) + d(r.transmitTime, r.destinationTime)) / 2.0;
}

bool SntpClient::Query(const std::string& server, SntpResult& result, uint16_t port) {
  const std::chrono::milliseconds timeout{timeoutMs};
  auto abandoned = [this] {
    if (m_abandoned) SetLastError(platform::kErrorInterrupted);
    return m_abandoned.load();
  };
  if (abandoned()) return false;
  UdpChannel channel(m_resolver);
  if (!channel.Create()) return false;
  if (!channel.Connect(server, port, timeout, &m_abandoned)) {
    abandoned();
    return false;
  }

  result.originateTime = NtpTimestamp::Now(m_clock);
  thread_local std::minstd_rand nonces{std::random_device{}()};
  const auto request = BuildNtpRequest(result.originateTime, static_cast<uint8_t>(nonces()));
  const NtpWireTimestamp sentTransmit = RequestTransmitBytes(request);
  if (!channel.Send(request.data(), request.size())) return false;

  // Datagrams that do not answer this request (stale, duplicated or forged) are dropped and
  // the wait goes on until the deadline; anything else ends the query.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    bool readable = false;
    const auto until =
        std::min(deadline, std::chrono::steady_clock::now() + platform::kAbandonCheck);
    if (!channel.WaitReadable(until, &readable)) return false;
    if (abandoned()) return false;
    if (!readable) {
      if (std::chrono::steady_clock::now() < deadline) continue;
      SetLastError(platform::kErrorTimedOut);
      return false;
    }
    result.destinationTime = NtpTimestamp::Now(m_clock);
    std::array<uint8_t, kNtpReplyBufferSize> buffer{};
    const long received = channel.Receive(buffer.data(), buffer.size());
    if (received <= 0) {
      if (received == 0) SetLastError(kNtpErrorShortReply);
      return false;
    }
    const uint32_t check =
        TakeSntpReply(buffer, static_cast<size_t>(received), sentTransmit, result);
    if (check == kNtpErrorOriginateMismatch) continue;
    if (check != 0) {
      SetLastError(check);
      return false;
    }
    return true;
  }
}

uint32_t TakeSntpReply(const std::array<uint8_t, kNtpReplyBufferSize>& buffer, size_t length,
                       const NtpWireTimestamp& sentTransmit, SntpResult& result) {
  const uint32_t check = CheckNtpReply(buffer, length, sentTransmit);
  if (check != 0) return check;
  const NtpReply reply = ParseNtpReply(buffer);
  result.leapIndicator = reply.leapIndicator;
  result.stratum = reply.stratum;
  result.receiveTime = reply.receive.InEraOf(result.originateTime);
  result.transmitTime = reply.transmit.InEraOf(result.originateTime);
  SntpClient::ComputeOffsetAndDelay(result);
  return 0;
}

}  // namespace vantorel
