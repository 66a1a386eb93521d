// ntp_probe HOST PORT SECONDS: exits 0 once the server gives a valid, synchronised reply.
// ntp_probe --silent PORT: holds that UDP port on 127.0.0.1 and never answers, until killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "ntp/sntp_client.h"

namespace {

int HoldSilently(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::perror("ntp_probe: bind");
    return 1;
  }
  for (;;) ::pause();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--silent") == 0) {
    return HoldSilently(static_cast<uint16_t>(std::atoi(argv[2])));
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s HOST PORT SECONDS | --silent PORT\n", argv[0]);
    return 2;
  }
  vantorel::SntpClient client;
  client.SetTimeout(200);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));
  while (std::chrono::steady_clock::now() < end) {
    vantorel::SntpResult result;
    if (client.Query(argv[1], result, static_cast<uint16_t>(std::atoi(argv[2])))) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 1;
}
