#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include "platform/udp_socket.h"

namespace vantorel {

// What every server address has been asked and has said, for as long as the program runs, so
// that no run (at start, on Update, the hourly one) asks any address more often than a public
// server lets its clients.
class AddressPacing {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Public services refuse clients that ask one address more often than this.
  static constexpr std::chrono::seconds kSpacing{4};
  // A request may take longer on its way than the next one to the same address: the spacing
  // is kept with this much to spare, so that the server sees it too.
  static constexpr std::chrono::milliseconds kMargin{50};
  // A RATE kiss doubles the wait from twice the spacing, up to this.
  static constexpr std::chrono::seconds kLongestWait{3600};

  // The earliest time the address may be asked again; a time long past when never asked.
  TimePoint NextAllowed(const platform::NetAddress& address) const;
  // Said DENY or RSTR since the server list last changed.
  bool Refused(const platform::NetAddress& address) const;

  void Sent(const platform::NetAddress& address, TimePoint at);
  void Answered(const platform::NetAddress& address);
  void RateLimited(const platform::NetAddress& address, TimePoint at);
  void Denied(const platform::NetAddress& address);
  // A different list (text of its names) forgives every refusal.
  void UseServerList(const std::string& names);

 private:
  struct Record {
    TimePoint next{};
    std::chrono::seconds backoff{0};
    bool refused = false;
  };
  mutable std::mutex m_mutex;
  std::map<platform::NetAddress, Record> m_records;
  std::string m_list;
};

}  // namespace vantorel
