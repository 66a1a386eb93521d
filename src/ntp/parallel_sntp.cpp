#include "ntp/parallel_sntp.h"

#include <algorithm>
#include <array>
#include <thread>

#include "platform/last_error.h"

namespace vantorel {

ParallelSntp::ParallelSntp(const platform::Clock& clock,
                           std::shared_ptr<platform::NameResolver> resolver)
    : m_clock(clock), m_resolver(std::move(resolver)), m_nonces(std::random_device{}()) {}

ParallelSntp::~ParallelSntp() = default;

std::vector<platform::NetAddress> ParallelSntp::Resolve(const std::string& name) {
  std::vector<platform::NetAddress> addresses;
  if (!m_abandoned)
    platform::ResolveServerName(m_resolver, name, m_timeout, &addresses, &m_abandoned);
  return addresses;
}

bool ParallelSntp::Send(uint64_t ticket, const platform::NetAddress& address, uint16_t port,
                        uint32_t* error) {
  if (m_abandoned) {
    *error = platform::kErrorInterrupted;
    return false;
  }
  auto socket = std::make_unique<platform::UdpSocket>();
  if (!socket->Create(address.family) || !socket->Connect(address, port)) {
    *error = platform::LastSocketError();
    return false;
  }
  Pending pending;
  pending.originate = NtpTimestamp::Now(m_clock);
  const auto request = BuildNtpRequest(pending.originate, static_cast<uint8_t>(m_nonces()));
  pending.sentTransmit = RequestTransmitBytes(request);
  if (!socket->Send(request.data(), request.size())) {
    *error = platform::LastSocketError();
    return false;
  }
  pending.deadline = Now() + m_timeout;
  pending.socket = std::move(socket);
  m_pending[ticket] = std::move(pending);
  return true;
}

bool ParallelSntp::Read(Pending& pending, SntpOutcome& outcome) {
  outcome.result.originateTime = pending.originate;
  std::array<uint8_t, kNtpReplyBufferSize> buffer{};
  std::chrono::nanoseconds waited{};
  const long received = pending.socket->Receive(buffer.data(), buffer.size(), &waited);
  // T4 is when the answer came, not when this thread got round to it: on a busy machine the
  // two lie milliseconds apart, and all of it would count against the offset.
  outcome.result.destinationTime = NtpTimestamp::FromFileTime(
      m_clock.UtcNow() - static_cast<platform::FileTime>(waited.count() / 100));
  if (received <= 0) {
    outcome.error = received == 0 ? kNtpErrorShortReply : platform::LastSocketError();
    return true;
  }
  const uint32_t check =
      TakeSntpReply(buffer, static_cast<size_t>(received), pending.sentTransmit, outcome.result);
  // Not the answer to this request (stale, duplicated, forged): it waits on for its own.
  if (check == kNtpErrorOriginateMismatch) return false;
  outcome.answered = check == 0;
  outcome.error = check;
  return true;
}

std::vector<SntpOutcome> ParallelSntp::Wait(TimePoint until) {
  std::vector<SntpOutcome> ended;
  while (!m_abandoned) {
    TimePoint wake = std::min(until, Now() + platform::kAbandonCheck);
    std::vector<platform::UdpSocket*> sockets;
    std::vector<uint64_t> tickets;
    for (auto& [ticket, pending] : m_pending) {
      wake = std::min(wake, pending.deadline);
      sockets.push_back(pending.socket.get());
      tickets.push_back(ticket);
    }
    if (sockets.empty()) {
      std::this_thread::sleep_until(wake);
    } else {
      std::vector<size_t> ready;
      const auto wait = platform::UdpSocket::WaitAnyReadableUntil(sockets, wake, &ready);
      if (wait == platform::UdpSocket::Wait::kFailed) {
        // The wait itself broke: every request fails rather than the run hanging on it.
        const uint32_t error = platform::LastSocketError();
        for (const uint64_t ticket : tickets) ended.push_back({ticket, false, error, {}});
        m_pending.clear();
        return ended;
      }
      for (const size_t at : ready) {
        SntpOutcome outcome;
        outcome.ticket = tickets[at];
        if (Read(m_pending[tickets[at]], outcome)) {
          ended.push_back(outcome);
          m_pending.erase(tickets[at]);
        }
      }
    }
    const TimePoint now = Now();
    for (auto at = m_pending.begin(); at != m_pending.end();) {
      if (at->second.deadline <= now) {
        ended.push_back({at->first, false, platform::kErrorTimedOut, {}});
        at = m_pending.erase(at);
      } else {
        ++at;
      }
    }
    if (!ended.empty() || now >= until) return ended;
  }
  return ended;
}

}  // namespace vantorel
