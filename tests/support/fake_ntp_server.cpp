#include "support/fake_ntp_server.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <stdexcept>

#include "ntp/ntp_timestamp.h"
#include "platform/udp_socket.h"

namespace vantorel::test {
namespace {

#if defined(_WIN32)
using SocketLength = int;
SOCKET Native(intptr_t fd) {
  return static_cast<SOCKET>(fd);
}
void CloseSocket(intptr_t fd) {
  ::closesocket(Native(fd));
}
#else
using SocketLength = socklen_t;
int Native(intptr_t fd) {
  return static_cast<int>(fd);
}
void CloseSocket(intptr_t fd) {
  ::close(Native(fd));
}
#endif

intptr_t BindLoopback(uint16_t* port) {
  platform::StartSockets();
  const auto fd = static_cast<intptr_t>(::socket(AF_INET, SOCK_DGRAM, 0));
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  SocketLength length = sizeof address;
  if (::bind(Native(fd), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(Native(fd), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseSocket(fd);
    throw std::runtime_error("bind failed");
  }
  *port = ntohs(address.sin_port);
  return fd;
}

bool WaitReadable(intptr_t fd, std::chrono::milliseconds limit) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Native(fd), &readable);
  timeval wait{0, static_cast<long>(limit.count() * 1000)};
  return ::select(static_cast<int>(Native(fd)) + 1, &readable, nullptr, nullptr, &wait) > 0;
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
  CloseSocket(m_fd);
}

void FakeNtpServer::Serve() {
  while (!m_stop) {
    if (!WaitReadable(m_fd, std::chrono::milliseconds(20))) continue;
    Request request{};
    sockaddr_in peer{};
    SocketLength peerLength = sizeof peer;
    const auto got = ::recvfrom(Native(m_fd), reinterpret_cast<char*>(request.data()),
                                static_cast<int>(request.size()), 0,
                                reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (got <= 0) continue;
    ++m_requests;
    std::this_thread::sleep_for(m_delay);
    for (const Datagram& datagram : m_responder(request)) {
      ::sendto(Native(m_fd), reinterpret_cast<const char*>(datagram.data()),
               static_cast<int>(datagram.size()), 0, reinterpret_cast<sockaddr*>(&peer),
               peerLength);
    }
  }
}

SilentUdpPort::SilentUdpPort() {
  m_fd = BindLoopback(&m_port);
}
SilentUdpPort::~SilentUdpPort() {
  CloseSocket(m_fd);
}

uint16_t ClosedUdpPort() {
  uint16_t port = 0;
  CloseSocket(BindLoopback(&port));
  return port;
}

}  // namespace vantorel::test
