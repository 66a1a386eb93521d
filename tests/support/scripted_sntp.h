#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
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
// A server in `silent` answers nothing and holds its query for the whole `silence`, as one that
// never replies does, unless the query is abandoned.
class ScriptedSntp final : public SntpQuery {
 public:
  void SetTimeout(uint32_t ms) override { timeout = ms; }
  void Abandon() override {
    std::lock_guard guard(m_mutex);
    m_abandoned = true;
    m_wake.notify_all();
  }
  bool Query(const std::string& server, SntpResult& result, uint16_t port) override {
    std::unique_lock guard(m_mutex);
    asked.push_back(server);
    lastPort = port;
    if (silent.count(server) != 0) {
      m_wake.wait_for(guard, silence, [this] { return m_abandoned; });
      return false;
    }
    auto& script = scripts[server];
    if (script.empty()) return false;
    const std::optional<double> next = script.front();
    script.pop_front();
    if (!next) return false;
    result.clockOffset = *next;
    return true;
  }
  std::map<std::string, std::deque<std::optional<double>>> scripts;
  std::set<std::string> silent;
  std::chrono::milliseconds silence{10'000};
  std::vector<std::string> asked;
  uint32_t timeout = 0;
  uint16_t lastPort = 0;

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_abandoned = false;
};

}  // namespace vantorel::test
