#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantorel::platform {

uint32_t LastSocketError() {
  return SocketErrorFromErrno(errno);
}

bool StartSockets() {
  // The system stamps arriving datagrams only while some socket asks it to, and starts a
  // moment after the first one does, later still on a loaded machine: an answer from a server
  // close by could come first and lose its stamp. One socket asking from the start, kept for
  // the program's life, keeps the stamps on for every query.
  static const int keeper = [] {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd >= 0) ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    return fd;
  }();
  static_cast<void>(keeper);
  return true;
}

bool UdpSocket::Create(NetAddress::Family family) {
  Close();
  m_family = family;
  const int domain = family == NetAddress::Family::kV6 ? AF_INET6 : AF_INET;
  m_handle = ::socket(domain, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_handle < 0) return false;
  // Each datagram stamped on arrival; without the stamp a receive reports no wait.
  const int on = 1;
  ::setsockopt(static_cast<int>(m_handle), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
  return true;
}

bool UdpSocket::Connect(const NetAddress& address, uint16_t port) {
  if (address.family != m_family) {
    errno = EAFNOSUPPORT;
    return false;
  }
  sockaddr_storage peer;
  const int size = ToSocketAddress(address, port, &peer);
  return ::connect(static_cast<int>(m_handle), reinterpret_cast<const sockaddr*>(&peer),
                   static_cast<socklen_t>(size)) == 0;
}

bool UdpSocket::Send(const void* data, size_t length) {
  ssize_t sent;
  do {
    sent = ::send(static_cast<int>(m_handle), data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(length);
}

UdpSocket::Wait UdpSocket::WaitReadableUntil(std::chrono::steady_clock::time_point deadline) {
  std::vector<size_t> ready;
  return WaitAnyReadableUntil({this}, deadline, &ready);
}

UdpSocket::Wait UdpSocket::WaitAnyReadableUntil(const std::vector<UdpSocket*>& sockets,
                                                std::chrono::steady_clock::time_point deadline,
                                                std::vector<size_t>* ready) {
  ready->clear();
  std::vector<pollfd> entries;
  entries.reserve(sockets.size());
  for (const UdpSocket* socket : sockets) {
    entries.push_back(pollfd{static_cast<int>(socket->m_handle), POLLIN, 0});
  }
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const int count = ::poll(entries.data(), entries.size(),
                             left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (count > 0) {  // an error pending on a socket reads as readable too
      for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].revents != 0) ready->push_back(i);
      }
      return Wait::kReadable;
    }
    if (count == 0) return Wait::kTimedOut;
    if (errno != EINTR) return Wait::kFailed;
  }
}

long UdpSocket::Receive(void* buffer, size_t length, std::chrono::nanoseconds* waited) {
  if (waited != nullptr) *waited = {};
  iovec part{buffer, length};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ssize_t received;
  do {
    received = ::recvmsg(static_cast<int>(m_handle), &message, 0);
  } while (received < 0 && errno == EINTR);
  if (received < 0 || waited == nullptr) return static_cast<long>(received);
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_TIMESTAMPNS) continue;
    timespec arrived;
    std::memcpy(&arrived, CMSG_DATA(c), sizeof arrived);
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto age = std::chrono::seconds(now.tv_sec - arrived.tv_sec) +
                     std::chrono::nanoseconds(now.tv_nsec - arrived.tv_nsec);
    // The stamp is wall-clock time: a clock set in between makes it meaningless.
    if (age > std::chrono::nanoseconds::zero() && age < std::chrono::seconds(10)) *waited = age;
  }
  return static_cast<long>(received);
}

void UdpSocket::Close() {
  if (m_handle != kNoSocket) ::close(static_cast<int>(m_handle));
  m_handle = kNoSocket;
  m_pendingError = 0;  // only Windows' wait finds one
}

}  // namespace vantorel::platform
