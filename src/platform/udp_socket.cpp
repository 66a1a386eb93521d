#include "platform/udp_socket.h"

// getaddrinfo is the same call on both systems, declared in different headers.
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstdio>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/detached_thread.h"

namespace vantorel::platform {

// The classic conversion's forms: one to four parts, each decimal, octal (a leading 0) or hex
// (0x); the last part fills the bytes left. Nothing else may follow.
std::optional<uint32_t> ParseDottedQuad(const std::string& text) {
  std::vector<uint64_t> parts;
  size_t at = 0;
  while (parts.size() < 4) {
    if (at >= text.size()) return std::nullopt;
    int base = 10;
    if (text[at] == '0') {
      base = 8;
      if (at + 1 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
      }
    }
    uint64_t value = 0;
    size_t digits = 0;
    for (; at < text.size(); ++at, ++digits) {
      const char c = text[at];
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0 || digit >= base) break;
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;  // "0x" alone, or no digit at all
    parts.push_back(value);
    if (at == text.size()) break;
    if (text[at] != '.') return std::nullopt;
    ++at;
  }
  if (at != text.size()) return std::nullopt;
  uint32_t host = 0;
  const size_t last = parts.size() - 1;
  for (size_t i = 0; i < last; ++i) {
    if (parts[i] > 0xFF) return std::nullopt;
    host |= static_cast<uint32_t>(parts[i]) << (24 - 8 * i);
  }
  if (parts[last] > (0xFFFFFFFFu >> (8 * last))) return std::nullopt;
  host |= static_cast<uint32_t>(parts[last]);
  if (host == 0xFFFFFFFFu) return std::nullopt;
  // Network byte order, as the socket layer takes it, whatever this machine's order is.
  const uint8_t bytes[4] = {static_cast<uint8_t>(host >> 24), static_cast<uint8_t>(host >> 16),
                            static_cast<uint8_t>(host >> 8), static_cast<uint8_t>(host)};
  uint32_t network = 0;
  std::memcpy(&network, bytes, sizeof network);
  return network;
}

uint32_t SocketErrorFromErrno(int error) {
  switch (error) {
    case ETIMEDOUT:
      return kErrorTimedOut;
    case ECONNREFUSED:
      return kErrorConnectionRefused;
    case EINVAL:
      return kErrorInvalidArgument;
    case EACCES:
      return 10013;
    case EMSGSIZE:
      return 10040;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case EHOSTUNREACH:
      return 10065;
    case EMFILE:
      return 10024;
    case ENOBUFS:
      return 10055;
    default:
      return 10000 + static_cast<uint32_t>(error);
  }
}

NetAddress NetAddress::V4(uint32_t networkOrder) {
  NetAddress address;
  std::memcpy(address.bytes.data(), &networkOrder, sizeof networkOrder);
  return address;
}

int ToSocketAddress(const NetAddress& address, uint16_t port, sockaddr_storage* out) {
  *out = sockaddr_storage{};
  if (address.family == NetAddress::Family::kV4) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(out);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    std::memcpy(&v4->sin_addr, address.bytes.data(), 4);
    return sizeof *v4;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(out);
  v6->sin6_family = AF_INET6;
  v6->sin6_port = htons(port);
  std::memcpy(&v6->sin6_addr, address.bytes.data(), 16);
  return sizeof *v6;
}

std::string ToText(const NetAddress& address) {
  const auto& b = address.bytes;
  char text[48];
  if (address.family == NetAddress::Family::kV4) {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
  }
  int groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = b[2 * i] << 8 | b[2 * i + 1];
  int bestAt = -1;
  int bestLength = 1;  // a single zero group is written out
  for (int i = 0; i < 8;) {
    int length = 0;
    while (i + length < 8 && groups[i + length] == 0) ++length;
    if (length > bestLength) {
      bestAt = i;
      bestLength = length;
    }
    i += length > 0 ? length : 1;
  }
  std::string out;
  for (int i = 0; i < 8; ++i) {
    if (i == bestAt) {
      out += "::";
      i += bestLength - 1;
      continue;
    }
    if (!out.empty() && out.back() != ':') out += ':';
    std::snprintf(text, sizeof text, "%x", groups[i]);
    out += text;
  }
  return out;
}

namespace {

class GetAddrInfoResolver final : public NameResolver {
 public:
  std::vector<NetAddress> Resolve(const std::string& name) override {
    std::vector<NetAddress> addresses;
    if (!StartSockets()) return addresses;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    // IPv6 addresses only where the machine has one of its own: without it they cannot be
    // reached, and asking them would only cost the run its time-outs.
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return addresses;
    for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
      NetAddress address;
      if (at->ai_family == AF_INET) {
        address =
            NetAddress::V4(reinterpret_cast<const sockaddr_in*>(at->ai_addr)->sin_addr.s_addr);
      } else if (at->ai_family == AF_INET6) {
        address.family = NetAddress::Family::kV6;
        std::memcpy(address.bytes.data(),
                    &reinterpret_cast<const sockaddr_in6*>(at->ai_addr)->sin6_addr, 16);
      } else {
        continue;
      }
      if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
        addresses.push_back(address);
      }
    }
    ::freeaddrinfo(found);
    return addresses;
  }
};

struct LookupState {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::vector<NetAddress> addresses;
};

}  // namespace

std::shared_ptr<NameResolver> SystemNameResolver() {
  static const auto resolver = std::make_shared<GetAddrInfoResolver>();
  return resolver;
}

Lookup LookupWithTimeout(const std::shared_ptr<NameResolver>& resolver, const std::string& name,
                         std::chrono::milliseconds timeout, std::vector<NetAddress>* addresses,
                         const std::atomic<bool>* abandon) {
  auto state = std::make_shared<LookupState>();
  const bool started = StartDetachedThread([state, resolver, name] {
    std::vector<NetAddress> found = resolver->Resolve(name);
    std::lock_guard guard(state->mutex);
    state->addresses = std::move(found);
    state->finished = true;
    state->done.notify_all();
  });
  if (!started) return Lookup::kNoWorker;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(state->mutex);
  for (;;) {
    const auto until = std::min(deadline, std::chrono::steady_clock::now() + kAbandonCheck);
    if (state->done.wait_until(lock, until, [&] { return state->finished; })) break;
    if (std::chrono::steady_clock::now() >= deadline || (abandon && *abandon))
      return Lookup::kTimedOut;
  }
  if (state->addresses.empty()) return Lookup::kNotFound;
  *addresses = state->addresses;
  return Lookup::kFound;
}

Lookup ResolveServerName(const std::shared_ptr<NameResolver>& resolver, const std::string& name,
                         std::chrono::milliseconds timeout, std::vector<NetAddress>* addresses,
                         const std::atomic<bool>* abandon) {
  addresses->clear();
  if (name.empty() || name.find('\0') != std::string::npos) return Lookup::kNotFound;
  if (const auto quad = ParseDottedQuad(name)) {
    addresses->push_back(NetAddress::V4(*quad));
  } else if (const Lookup result = LookupWithTimeout(resolver, name, timeout, addresses, abandon);
             result != Lookup::kFound) {
    return result;
  }
  std::erase(*addresses, NetAddress::V4(0));
  return addresses->empty() ? Lookup::kNotFound : Lookup::kFound;
}

}  // namespace vantorel::platform
