#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "ntp/sntp_client.h"
#include "platform/udp_socket.h"

namespace vantorel {

// How one request ended.
struct SntpOutcome {
  uint64_t ticket = 0;
  bool answered = false;
  // When not answered: 10060 for silence, 10061 for a refusal, a reply check's or kiss code's
  // NtpReplyError, or another socket error.
  uint32_t error = 0;
  SntpResult result;
};

// Many SNTP requests in flight at once, each to one address, as a calibration run asks them.
// The run's sense of time comes from here too, so that a fake can play a whole run, spacing
// and time-outs included, without waiting.
class SntpExchange {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~SntpExchange() = default;
  virtual TimePoint Now() const = 0;
  // How long a request may wait for its answer, and a name for its addresses.
  virtual void SetTimeout(uint32_t ms) = 0;
  // Every address a server name stands for; a dotted quad stands for itself. Empty when the
  // name resolves to nothing in time.
  virtual std::vector<platform::NetAddress> Resolve(const std::string& name) = 0;
  // Sends one request. False, with the error, when it could not leave at all.
  virtual bool Send(uint64_t ticket, const platform::NetAddress& address, uint16_t port,
                    uint32_t* error) = 0;
  // Waits until at least one request has ended (answered, failed, timed out) or `until`
  // has come; what ended, in no particular order.
  virtual std::vector<SntpOutcome> Wait(TimePoint until) = 0;
  // Forgets every request in flight: their answers are never read.
  virtual void DropAll() = 0;
  // From another thread: a wait ends at once, and every later call fails or returns at once.
  virtual void Abandon() = 0;
};

}  // namespace vantorel
