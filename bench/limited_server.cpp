// Time servers that limit their clients as public ones do, each address a server of its own
// with its own memory of the client, answering from the real clock on port 123.
//   limited_server MODE ADDRESS...   (until killed)
//     rate2s: a kiss-o'-death RATE to a client asking again within 2 s (classic ntpd's guard)
//     drop4s: nothing to a client asking again within 4 s (one national service's rule)
//     silent: nothing at all
//     rate: a kiss-o'-death RATE to every request
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ntp/ntp_timestamp.h"

namespace {

using Clock = std::chrono::steady_clock;

int Bind(const char* text) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(123);
  if (::inet_pton(AF_INET, text, &address.sin_addr) != 1) return -1;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  return fd;
}

std::array<uint8_t, 48> Reply(const uint8_t* request, bool rateKiss) {
  std::array<uint8_t, 48> reply{};
  reply[0] = (4 << 3) | 4;
  reply[1] = rateKiss ? 0 : 2;
  if (rateKiss) std::memcpy(&reply[12], "RATE", 4);
  std::memcpy(&reply[24], request + 40, 8);
  const vantorel::NtpTimestamp now = vantorel::NtpTimestamp::Now();
  now.ToWire(&reply[32]);
  now.ToWire(&reply[40]);
  return reply;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s rate2s|drop4s|silent|rate ADDRESS...\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  std::vector<pollfd> sockets;
  for (int i = 2; i < argc; ++i) {
    const int fd = Bind(argv[i]);
    if (fd < 0) {
      std::perror(argv[i]);
      return 1;
    }
    sockets.push_back({fd, POLLIN, 0});
  }
  // Per address, per client: when it last asked.
  std::vector<std::map<std::string, Clock::time_point>> last(sockets.size());
  for (;;) {
    if (::poll(sockets.data(), sockets.size(), -1) < 0) continue;
    for (size_t i = 0; i < sockets.size(); ++i) {
      if (!(sockets[i].revents & POLLIN)) continue;
      uint8_t request[68];
      sockaddr_in client{};
      socklen_t size = sizeof client;
      const ssize_t got = ::recvfrom(sockets[i].fd, request, sizeof request, 0,
                                     reinterpret_cast<sockaddr*>(&client), &size);
      if (got < 48 || mode == "silent") continue;
      // A client is its address: each of its requests may come from another port.
      const std::string who = std::to_string(client.sin_addr.s_addr);
      const auto now = Clock::now();
      const auto before = last[i].find(who);
      const bool soon2 = before != last[i].end() && now - before->second < std::chrono::seconds(2);
      const bool soon4 = before != last[i].end() && now - before->second < std::chrono::seconds(4);
      last[i][who] = now;
      if (mode == "drop4s" && soon4) continue;
      const auto reply = Reply(request, mode == "rate" || (mode == "rate2s" && soon2));
      ::sendto(sockets[i].fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&client),
               size);
    }
  }
}
