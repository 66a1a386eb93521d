#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace vantorel::test {

using Datagram = std::vector<uint8_t>;
using Request = std::array<uint8_t, 48>;

// A valid server reply to the request: mode 4, version 4, stratum 2, the request's
// transmit timestamp as originate, receive and transmit = the real clock + offset.
Datagram GoodReply(const Request& request, double offsetSeconds = 0.0);

// A UDP server on 127.0.0.1 that answers each request with the datagrams the responder
// returns, after the delay. Stops and joins on destruction.
class FakeNtpServer {
 public:
  using Responder = std::function<std::vector<Datagram>(const Request&)>;

  explicit FakeNtpServer(Responder responder, std::chrono::milliseconds delay = {});
  ~FakeNtpServer();
  FakeNtpServer(const FakeNtpServer&) = delete;
  FakeNtpServer& operator=(const FakeNtpServer&) = delete;

  uint16_t Port() const { return m_port; }
  int Requests() const { return m_requests.load(); }

 private:
  void Serve();

  Responder m_responder;
  std::chrono::milliseconds m_delay;
  intptr_t m_fd = -1;  // a descriptor or a Windows socket
  uint16_t m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_requests{0};
  std::thread m_thread;
};

// A bound UDP port on 127.0.0.1 that never answers.
class SilentUdpPort {
 public:
  SilentUdpPort();
  ~SilentUdpPort();
  uint16_t Port() const { return m_port; }

 private:
  intptr_t m_fd = -1;  // a descriptor or a Windows socket
  uint16_t m_port = 0;
};

// A UDP port on 127.0.0.1 that nothing listens on (bound once, then closed).
uint16_t ClosedUdpPort();

}  // namespace vantorel::test
