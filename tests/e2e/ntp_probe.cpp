// ntp_probe HOST PORT SECONDS: exits 0 once the server gives a valid, synchronised reply.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "ntp/sntp_client.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s HOST PORT SECONDS\n", argv[0]);
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
