#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ntp/sntp_client.h"
#include "platform/network_state.h"

namespace vantorel::test {

class FixedNetwork final : public platform::NetworkState {
 public:
  explicit FixedNetwork(bool connected) : m_connected(connected) {}
  bool IsConnected() const override { return m_connected; }

 private:
  bool m_connected;
};

// Answers each server from its own script of offsets (nothing = a failed query), then fails.
class ScriptedSntp final : public SntpQuery {
 public:
  void SetTimeout(uint32_t ms) override { timeout = ms; }
  bool Query(const std::string& server, SntpResult& result, uint16_t port) override {
    std::lock_guard guard(m_mutex);
    asked.push_back(server);
    lastPort = port;
    auto& script = scripts[server];
    if (script.empty()) return false;
    const std::optional<double> next = script.front();
    script.pop_front();
    if (!next) return false;
    result.clockOffset = *next;
    return true;
  }
  std::map<std::string, std::deque<std::optional<double>>> scripts;
  std::vector<std::string> asked;
  uint32_t timeout = 0;
  uint16_t lastPort = 0;

 private:
  std::mutex m_mutex;
};

}  // namespace vantorel::test
