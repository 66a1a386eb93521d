#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vantorel::platform {

uint32_t LastSocketError() {
  return SocketErrorFromErrno(errno);
}

bool StartSockets() {
  return true;
}

bool UdpSocket::Create() {
  Close();
  m_handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  return m_handle >= 0;
}

bool UdpSocket::Connect(uint32_t address, uint16_t port) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = address;
  return ::connect(static_cast<int>(m_handle), reinterpret_cast<const sockaddr*>(&peer),
                   sizeof peer) == 0;
}

bool UdpSocket::Send(const void* data, size_t length) {
  ssize_t sent;
  do {
    sent = ::send(static_cast<int>(m_handle), data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(length);
}

UdpSocket::Wait UdpSocket::WaitReadableUntil(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{static_cast<int>(m_handle), POLLIN, 0};
    const int ready = ::poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready > 0) return Wait::kReadable;  // an error pending on the socket reads as readable too
    if (ready == 0) return Wait::kTimedOut;
    if (errno != EINTR) return Wait::kFailed;
  }
}

long UdpSocket::Receive(void* buffer, size_t length) {
  ssize_t received;
  do {
    received = ::recv(static_cast<int>(m_handle), buffer, length, 0);
  } while (received < 0 && errno == EINTR);
  return static_cast<long>(received);
}

void UdpSocket::Close() {
  if (m_handle != kNoSocket) ::close(static_cast<int>(m_handle));
  m_handle = kNoSocket;
  m_pendingError = 0;  // only Windows' wait finds one
}

}  // namespace vantorel::platform
