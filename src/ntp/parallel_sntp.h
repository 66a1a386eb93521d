#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <random>

#include "ntp/sntp_exchange.h"
#include "platform/clock.h"

namespace vantorel {

// The exchange over real sockets: one connected socket per request, so that a refusal (the
// peer's port unreachable) reaches the request it belongs to; replies are taken only when
// their originate timestamp is the request's own, bit for bit.
class ParallelSntp final : public SntpExchange {
 public:
  explicit ParallelSntp(
      const platform::Clock& clock = platform::SystemClock(),
      std::shared_ptr<platform::NameResolver> resolver = platform::SystemNameResolver());
  ~ParallelSntp() override;

  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  void SetTimeout(uint32_t ms) override { m_timeout = std::chrono::milliseconds(ms); }
  std::vector<platform::NetAddress> Resolve(const std::string& name) override;
  bool Send(uint64_t ticket, const platform::NetAddress& address, uint16_t port,
            uint32_t* error) override;
  std::vector<SntpOutcome> Wait(TimePoint until) override;
  void DropAll() override { m_pending.clear(); }
  void Abandon() override { m_abandoned = true; }

 private:
  struct Pending {
    std::unique_ptr<platform::UdpSocket> socket;
    NtpWireTimestamp sentTransmit;
    NtpTimestamp originate;
    TimePoint deadline;
  };
  // Reads what came for one request; true when that ended it.
  bool Read(Pending& pending, SntpOutcome& outcome);

  const platform::Clock& m_clock;
  std::shared_ptr<platform::NameResolver> m_resolver;
  std::chrono::milliseconds m_timeout{SntpClient::kDefaultTimeoutMs};
  std::atomic<bool> m_abandoned{false};
  std::map<uint64_t, Pending> m_pending;
  std::minstd_rand m_nonces;
};

}  // namespace vantorel
