#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vantorel::platform {

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

namespace {

class GetAddrInfoResolver final : public NameResolver {
 public:
  std::optional<uint32_t> Resolve(const std::string& name) override {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
      return std::nullopt;
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const uint32_t result = address->sin_addr.s_addr;
    freeaddrinfo(found);
    return result;
  }
};

struct LookupState {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::optional<uint32_t> address;
};

}  // namespace

std::shared_ptr<NameResolver> SystemNameResolver() {
  static const auto resolver = std::make_shared<GetAddrInfoResolver>();
  return resolver;
}

std::optional<uint32_t> ParseDottedQuad(const std::string& text) {
  in_addr address{};
  if (inet_aton(text.c_str(), &address) == 0 || address.s_addr == INADDR_NONE) return std::nullopt;
  return address.s_addr;
}

Lookup LookupWithTimeout(const std::shared_ptr<NameResolver>& resolver, const std::string& name,
                         std::chrono::milliseconds timeout, uint32_t* address,
                         const std::atomic<bool>* abandon) {
  auto state = std::make_shared<LookupState>();
  try {
    std::thread([state, resolver, name] {
      std::optional<uint32_t> found = resolver->Resolve(name);
      std::lock_guard guard(state->mutex);
      state->address = found;
      state->finished = true;
      state->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return Lookup::kNoWorker;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(state->mutex);
  for (;;) {
    const auto until = std::min(deadline, std::chrono::steady_clock::now() + kAbandonCheck);
    if (state->done.wait_until(lock, until, [&] { return state->finished; })) break;
    if (std::chrono::steady_clock::now() >= deadline || (abandon && *abandon))
      return Lookup::kTimedOut;
  }
  if (!state->address) return Lookup::kNotFound;
  *address = *state->address;
  return Lookup::kFound;
}

bool UdpSocket::Create() {
  Close();
  m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  return m_fd >= 0;
}

bool UdpSocket::Connect(uint32_t address, uint16_t port) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = port;
  peer.sin_addr.s_addr = address;
  return ::connect(m_fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
}

bool UdpSocket::Send(const void* data, size_t length) {
  ssize_t sent;
  do {
    sent = ::send(m_fd, data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(length);
}

UdpSocket::Wait UdpSocket::WaitReadableUntil(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{m_fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready > 0) return Wait::kReadable;  // an error pending on the socket reads as readable too
    if (ready == 0) return Wait::kTimedOut;
    if (errno != EINTR) return Wait::kFailed;
  }
}

long UdpSocket::Receive(void* buffer, size_t length) {
  ssize_t received;
  do {
    received = ::recv(m_fd, buffer, length, 0);
  } while (received < 0 && errno == EINTR);
  return static_cast<long>(received);
}

void UdpSocket::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

}  // namespace vantorel::platform
