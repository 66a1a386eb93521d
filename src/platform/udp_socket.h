#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vantorel::platform {

// Socket-layer error codes as callers see them (the platform's numbering).
inline constexpr uint32_t kErrorTimedOut = 10060;
inline constexpr uint32_t kErrorConnectionRefused = 10061;
inline constexpr uint32_t kErrorHostNotFound = 11001;
inline constexpr uint32_t kErrorInvalidArgument = 10022;
inline constexpr uint32_t kErrorInterrupted = 10004;  // the caller gave the operation up

// Maps an errno value to the socket-layer code above or its nearest kin.
uint32_t SocketErrorFromErrno(int error);

// The socket layer's code for the calling thread's last failed socket call.
uint32_t LastSocketError();

// Readies the socket layer once per process (Windows needs it before any socket); true when
// sockets can be used.
bool StartSockets();

// Resolves a host name to an IPv4 address (network byte order); blocking.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  virtual std::optional<uint32_t> Resolve(const std::string& name) = 0;
};

// getaddrinfo, IPv4 only.
std::shared_ptr<NameResolver> SystemNameResolver();

// The address of a dotted quad in network byte order, or nothing for any other text.
// "255.255.255.255" is not taken as an address, as the classic conversion cannot tell it
// from its error value.
std::optional<uint32_t> ParseDottedQuad(const std::string& text);

// Resolves on a short-lived worker and waits at most the time-out. An abandoned lookup runs
// on and its result is dropped: the worker owns its share of the result storage, so it never
// writes into memory the caller has released. A set abandon flag ends the wait as well, within
// kAbandonCheck.
enum class Lookup { kFound, kNotFound, kTimedOut, kNoWorker };
inline constexpr std::chrono::milliseconds kAbandonCheck{50};
Lookup LookupWithTimeout(const std::shared_ptr<NameResolver>& resolver, const std::string& name,
                         std::chrono::milliseconds timeout, uint32_t* address,
                         const std::atomic<bool>* abandon = nullptr);

// A connected UDP socket over IPv4.
class UdpSocket {
 public:
  enum class Wait { kReadable, kTimedOut, kFailed };

  UdpSocket() = default;
  ~UdpSocket() { Close(); }
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool Create();
  bool IsValid() const { return m_handle != kNoSocket; }
  // Fixes the peer: the address in network byte order, the port a plain number.
  bool Connect(uint32_t address, uint16_t port);
  bool Send(const void* data, size_t length);
  Wait WaitReadableUntil(std::chrono::steady_clock::time_point deadline);
  // Bytes of one datagram (cut to the buffer), or -1 on an error.
  long Receive(void* buffer, size_t length);
  void Close();

 private:
  // A descriptor or a Windows socket handle; both fit, and -1 is "none" for both.
  static constexpr intptr_t kNoSocket = -1;
  intptr_t m_handle = kNoSocket;
  // An error the wait found pending on the socket, for the next receive to report: some
  // socket layers (Wine's) tell a refused datagram only when asked for the socket's error.
  uint32_t m_pendingError = 0;
};

}  // namespace vantorel::platform
