#include "support/chronyd_server.h"

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "ntp/sntp_client.h"

namespace vantorel::test {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(5);

// The port the test command gave the server of this offset ("0" for the true clock).
uint16_t PortFor(const std::string& offset) {
  const char* servers = std::getenv("VANTOREL_TEST_CHRONYD");
  if (servers == nullptr) return 0;
  std::istringstream list(servers);
  std::string entry;
  while (std::getline(list, entry, ',')) {
    const auto equals = entry.find('=');
    if (equals != std::string::npos && entry.substr(0, equals) == offset) {
      return static_cast<uint16_t>(std::atoi(entry.c_str() + equals + 1));
    }
  }
  return 0;
}

}  // namespace

std::string ChronydServer::ChronydPath() {
  return {};
}

std::string ChronydServer::FakeTimeLibrary() {
  return {};
}

ChronydServer::ChronydServer(const std::string& fakeOffset) {
  m_port = PortFor(fakeOffset.empty() ? "0" : fakeOffset);
  if (m_port == 0) {
    m_problem = "no chronyd for offset '" + fakeOffset + "' in VANTOREL_TEST_CHRONYD";
    return;
  }
  m_ready = WaitUntilServing();
  if (!m_ready) m_problem = "the chronyd on port " + std::to_string(m_port) + " does not answer";
}

bool ChronydServer::WaitUntilServing() {
  SntpClient client;
  client.SetTimeout(200);
  const auto limit = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < limit) {
    SntpResult result;
    if (client.Query("127.0.0.1", result, m_port)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// The test command stops the servers it started.
ChronydServer::~ChronydServer() = default;

}  // namespace vantorel::test
