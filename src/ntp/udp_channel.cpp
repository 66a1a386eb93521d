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
  uint32_t address = 0;
  if (server.empty() || server.find('\0') != std::string::npos) {
    SetLastError(platform::kErrorHostNotFound);
    return false;
  }
  if (const auto quad = platform::ParseDottedQuad(server)) {
    address = *quad;
  } else {
    switch (platform::LookupWithTimeout(m_resolver, server, timeout, &address, abandon)) {
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
  }
  if (address == 0) {
    SetLastError(platform::kErrorHostNotFound);
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
