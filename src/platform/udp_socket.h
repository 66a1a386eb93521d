#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sockaddr_storage;

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

// An IPv4 or IPv6 address, its bytes in network order (IPv4 in the first four).
struct NetAddress {
  enum class Family : uint8_t { kV4, kV6 };
  Family family = Family::kV4;
  std::array<uint8_t, 16> bytes{};

  static NetAddress V4(uint32_t networkOrder);
  auto operator<=>(const NetAddress&) const = default;
};

// The socket layer's form of an address and port; its length in bytes.
int ToSocketAddress(const NetAddress& address, uint16_t port, ::sockaddr_storage* out);

// "192.0.2.1" or "2001:db8::1" (the longest run of zero groups shortened).
std::string ToText(const NetAddress& address);

// Resolves a host name to every address it stands for, in the resolver's order, each once;
// blocking. Empty when the name resolves to nothing.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  virtual std::vector<NetAddress> Resolve(const std::string& name) = 0;
};

// getaddrinfo: IPv4, and IPv6 where the machine has an IPv6 address of its own.
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
                         std::chrono::milliseconds timeout, std::vector<NetAddress>* addresses,
                         const std::atomic<bool>* abandon = nullptr);

// The addresses a server name stands for: a dotted quad stands for itself without a lookup,
// anything else is looked up as above; 0.0.0.0 (this machine) is no server. An empty name or
// one with a NUL in it is not found.
Lookup ResolveServerName(const std::shared_ptr<NameResolver>& resolver, const std::string& name,
                         std::chrono::milliseconds timeout, std::vector<NetAddress>* addresses,
                         const std::atomic<bool>* abandon = nullptr);

// A connected UDP socket over IPv4 or IPv6.
class UdpSocket {
 public:
  enum class Wait { kReadable, kTimedOut, kFailed };

  UdpSocket() = default;
  ~UdpSocket() { Close(); }
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool Create(NetAddress::Family family = NetAddress::Family::kV4);
  bool IsValid() const { return m_handle != kNoSocket; }
  NetAddress::Family Family() const { return m_family; }
  // Fixes the peer, of the socket's family; the port a plain number.
  bool Connect(const NetAddress& address, uint16_t port);
  bool Send(const void* data, size_t length);
  Wait WaitReadableUntil(std::chrono::steady_clock::time_point deadline);
  // Waits until any of the sockets is readable (a pending error counts) or the deadline;
  // `ready` gets the positions of the readable ones.
  static Wait WaitAnyReadableUntil(const std::vector<UdpSocket*>& sockets,
                                   std::chrono::steady_clock::time_point deadline,
                                   std::vector<size_t>* ready);
  // Bytes of one datagram (cut to the buffer), or -1 on an error. `waited`, when given, gets
  // how long the datagram lay in the socket before this call took it, as the system's own
  // arrival stamp tells; zero where the system keeps none. A thread woken late by a busy
  // machine then still knows when the answer came.
  long Receive(void* buffer, size_t length, std::chrono::nanoseconds* waited = nullptr);
  void Close();

 private:
  // A descriptor or a Windows socket handle; both fit, and -1 is "none" for both.
  static constexpr intptr_t kNoSocket = -1;
  intptr_t m_handle = kNoSocket;
  NetAddress::Family m_family = NetAddress::Family::kV4;
  // An error the wait found pending on the socket, for the next receive to report: some
  // socket layers (Wine's) tell a refused datagram only when asked for the socket's error.
  uint32_t m_pendingError = 0;
};

}  // namespace vantorel::platform
