#include "ntp/udp_channel.h"

#include "platform/last_error.h"

namespace vantorel {

using platform::LastSocketError;
using platform::SetLastError;

UdpChannel::UdpChannel(std::shared_ptr<platform::NameResolver> resolver)
    : m_resolver(std::move(resolver)) {}

bool UdpChannel::Create() {
  if (m_socket.Create()) return true;
  SetLastError(LastSocketError());
  return false;
}

bool UdpChannel::Connect(const std::string& server, uint16_t port,
                         std::chrono::milliseconds timeout, const std::atomic<bool>* abandon) {
  std::vector<platform::NetAddress> addresses;
  switch (platform::ResolveServerName(m_resolver, server, timeout, &addresses, abandon)) {
    case platform::Lookup::kFound:
      break;
    case platform::Lookup::kTimedOut:
      SetLastError(platform::kErrorTimedOut);
      return false;
    case platform::Lookup::kNotFound:
    case platform::Lookup::kNoWorker:
      SetLastError(platform::kErrorHostNotFound);
      return false;
  }
  // One exchange asks one address: the name's first, as the resolver ranks them.
  const platform::NetAddress& address = addresses.front();
  if (address.family != m_socket.Family() && !m_socket.Create(address.family)) {
    SetLastError(LastSocketError());
    return false;
  }
  if (m_socket.Connect(address, port)) return true;
  SetLastError(LastSocketError());
  return false;
}

bool UdpChannel::Send(const void* data, size_t length) {
  if (m_socket.Send(data, length)) return true;
  SetLastError(LastSocketError());
  return false;
}

bool UdpChannel::WaitReadable(std::chrono::steady_clock::time_point deadline, bool* readable) {
  const platform::UdpSocket::Wait result = m_socket.WaitReadableUntil(deadline);
  *readable = result == platform::UdpSocket::Wait::kReadable;
  return result != platform::UdpSocket::Wait::kFailed;
}

long UdpChannel::Receive(void* buffer, size_t length) {
  const long received = m_socket.Receive(buffer, length);
  if (received < 0) SetLastError(LastSocketError());
  return received;
}

}  // namespace vantorel
