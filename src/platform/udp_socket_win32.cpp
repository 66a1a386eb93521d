#include "platform/udp_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

namespace vantorel::platform {
namespace {

SOCKET Handle(intptr_t handle) {
  return static_cast<SOCKET>(handle);
}

}  // namespace

// Winsock's codes are the numbering callers see already. On a connected UDP socket the
// peer's "port unreachable" comes back as a reset: to the caller that is a refusal.
uint32_t LastSocketError() {
  const int code = ::WSAGetLastError();
  return code == WSAECONNRESET ? kErrorConnectionRefused : static_cast<uint32_t>(code);
}

bool StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

bool UdpSocket::Create(NetAddress::Family family) {
  Close();
  if (!StartSockets()) return false;
  m_family = family;
  const int domain = family == NetAddress::Family::kV6 ? AF_INET6 : AF_INET;
  const SOCKET handle = ::socket(domain, SOCK_DGRAM, IPPROTO_UDP);
  if (handle == INVALID_SOCKET) return false;
  m_handle = static_cast<intptr_t>(handle);
  return true;
}

bool UdpSocket::Connect(const NetAddress& address, uint16_t port) {
  if (address.family != m_family) {
    ::WSASetLastError(WSAEAFNOSUPPORT);
    return false;
  }
  sockaddr_storage peer;
  const int size = ToSocketAddress(address, port, &peer);
  return ::connect(Handle(m_handle), reinterpret_cast<const sockaddr*>(&peer), size) == 0;
}

bool UdpSocket::Send(const void* data, size_t length) {
  const int sent =
      ::send(Handle(m_handle), static_cast<const char*>(data), static_cast<int>(length), 0);
  return sent == static_cast<int>(length);
}

// An error pending on the socket (the peer's port unreachable) counts as readable: the receive
// then reports it. Windows marks the socket readable for it; Wine tells it only through the
// socket's error, so that is looked at between short waits.
UdpSocket::Wait UdpSocket::WaitReadableUntil(std::chrono::steady_clock::time_point deadline) {
  std::vector<size_t> ready;
  return WaitAnyReadableUntil({this}, deadline, &ready);
}

UdpSocket::Wait UdpSocket::WaitAnyReadableUntil(const std::vector<UdpSocket*>& sockets,
                                                std::chrono::steady_clock::time_point deadline,
                                                std::vector<size_t>* ready) {
  constexpr auto kSlice = std::chrono::milliseconds(20);
  ready->clear();
  if (sockets.size() > FD_SETSIZE) return Wait::kFailed;
  for (;;) {
    for (size_t i = 0; i < sockets.size(); ++i) {
      int error = 0;
      int size = sizeof error;
      if (::getsockopt(Handle(sockets[i]->m_handle), SOL_SOCKET, SO_ERROR,
                       reinterpret_cast<char*>(&error), &size) == 0 &&
          error != 0) {
        sockets[i]->m_pendingError = static_cast<uint32_t>(error);
        ready->push_back(i);
      }
    }
    if (!ready->empty()) return Wait::kReadable;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return Wait::kTimedOut;
    const auto left = std::min(std::chrono::ceil<std::chrono::microseconds>(deadline - now),
                               std::chrono::microseconds(kSlice));
    fd_set readable;
    FD_ZERO(&readable);
    for (const UdpSocket* socket : sockets) FD_SET(Handle(socket->m_handle), &readable);
    timeval wait{};
    wait.tv_sec = static_cast<long>(left.count() / 1'000'000);
    wait.tv_usec = static_cast<long>(left.count() % 1'000'000);
    const int count = ::select(0, &readable, nullptr, nullptr, &wait);
    if (count < 0) return Wait::kFailed;
    if (count > 0) {
      for (size_t i = 0; i < sockets.size(); ++i) {
        if (FD_ISSET(Handle(sockets[i]->m_handle), &readable)) ready->push_back(i);
      }
      return Wait::kReadable;
    }
  }
}

long UdpSocket::Receive(void* buffer, size_t length, std::chrono::nanoseconds* waited) {
  if (waited != nullptr) *waited = {};
  if (m_pendingError != 0) {
    ::WSASetLastError(static_cast<int>(m_pendingError));
    m_pendingError = 0;
    return -1;
  }
  const int received =
      ::recv(Handle(m_handle), static_cast<char*>(buffer), static_cast<int>(length), 0);
  // A datagram longer than the buffer fills it and is cut, as on the other systems.
  if (received == SOCKET_ERROR && ::WSAGetLastError() == WSAEMSGSIZE) {
    return static_cast<long>(length);
  }
  return received == SOCKET_ERROR ? -1 : static_cast<long>(received);
}

void UdpSocket::Close() {
  if (m_handle != kNoSocket) ::closesocket(Handle(m_handle));
  m_handle = kNoSocket;
  m_pendingError = 0;
}

}  // namespace vantorel::platform
