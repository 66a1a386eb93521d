#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/udp_socket.h"

namespace vantorel {

// One socket for one query: created, connected to the server, used, closed. Failures leave
// the socket layer's code as the thread's last error.
class UdpChannel {
 public:
  explicit UdpChannel(std::shared_ptr<platform::NameResolver> resolver);

  bool Create();
  // A dotted quad is used as it stands; any other name is looked up on a worker for at most
  // the time-out.
  bool Connect(const std::string& server, uint16_t port, std::chrono::milliseconds timeout,
               const std::atomic<bool>* abandon = nullptr);
  bool Send(const void* data, size_t length);
  // False when the wait itself fails; else *readable tells whether data came in time.
  bool WaitReadable(std::chrono::steady_clock::time_point deadline, bool* readable);
  // Bytes of one datagram, cut to the buffer; -1 on failure.
  long Receive(void* buffer, size_t length);
  void Close() { m_socket.Close(); }

 private:
  std::shared_ptr<platform::NameResolver> m_resolver;
  platform::UdpSocket m_socket;
};

}  // namespace vantorel
