#include "support/fake_ntp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "ntp/ntp_timestamp.h"

namespace vantorel::test {
namespace {

int BindLoopback(uint16_t* port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

Datagram GoodReply(const Request& request, double offsetSeconds) {
  Datagram reply(48, 0);
  reply[0] = (0 << 6) | (4 << 3) | 4;
  reply[1] = 2;
  for (int i = 0; i < 8; ++i) reply[24 + i] = request[40 + i];
  const NtpTimestamp now = NtpTimestamp::Now();
  const auto shift = static_cast<int64_t>(offsetSeconds * 16'777'216.0);
  const NtpTimestamp server{static_cast<uint64_t>(static_cast<int64_t>(now.Value()) + shift)};
  server.ToWire(&reply[32]);
  server.ToWire(&reply[40]);
  return reply;
}

FakeNtpServer::FakeNtpServer(Responder responder, std::chrono::milliseconds delay)
    : m_responder(std::move(responder)), m_delay(delay) {
  m_fd = BindLoopback(&m_port);
  m_thread = std::thread(&FakeNtpServer::Serve, this);
}

FakeNtpServer::~FakeNtpServer() {
  m_stop = true;
  m_thread.join();
  ::close(m_fd);
}

void FakeNtpServer::Serve() {
  while (!m_stop) {
    pollfd entry{m_fd, POLLIN, 0};
    if (::poll(&entry, 1, 20) <= 0) continue;
    Request request{};
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    const ssize_t got = ::recvfrom(m_fd, request.data(), request.size(), 0,
                                   reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (got <= 0) continue;
    ++m_requests;
    std::this_thread::sleep_for(m_delay);
    for (const Datagram& datagram : m_responder(request)) {
      ::sendto(m_fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&peer),
               peerLength);
    }
  }
}

SilentUdpPort::SilentUdpPort() {
  m_fd = BindLoopback(&m_port);
}
SilentUdpPort::~SilentUdpPort() {
  ::close(m_fd);
}

uint16_t ClosedUdpPort() {
  uint16_t port = 0;
  ::close(BindLoopback(&port));
  return port;
}

}  // namespace vantorel::test
