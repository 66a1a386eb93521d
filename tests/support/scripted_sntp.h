#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ntp/ntp_packet.h"
#include "ntp/sntp_exchange.h"
#include "platform/network_state.h"

namespace vantorel::test {

class FixedNetwork final : public platform::NetworkState {
 public:
  explicit FixedNetwork(bool connected) : m_connected(connected) {}
  bool IsConnected() const override { return m_connected; }

 private:
  bool m_connected;
};

// Time servers in simulated time: a run's spacing and time-outs pass at once, and what each
// address was sent, and when, is written down.
//
// A name stands for the addresses `names` gives it, else for one address of its own name.
// An address answers from its `behaviours` entry when it has one, else from its script
// (nothing, or an exhausted script: refused at once). An address in `silent` holds the wait
// for `silence` of real time, as one that never replies does, unless the exchange is abandoned.
class ScriptedSntp final : public SntpExchange {
 public:
  struct Answer {
    std::optional<double> offset;                        // answered, with this offset
    uint32_t error = platform::kErrorConnectionRefused;  // else this; kErrorTimedOut: silence
    std::chrono::milliseconds delay{1};
  };
  // Given when a request arrives and when that address's earlier ones did.
  using Behaviour = std::function<Answer(TimePoint at, const std::vector<TimePoint>& earlier)>;

  static constexpr TimePoint kStart = TimePoint{} + std::chrono::hours(1000);

  TimePoint Now() const override {
    std::lock_guard guard(m_mutex);
    return m_now;
  }
  void SetTimeout(uint32_t ms) override {
    std::lock_guard guard(m_mutex);
    timeout = ms;
  }
  std::vector<platform::NetAddress> Resolve(const std::string& name) override {
    std::lock_guard guard(m_mutex);
    resolved.push_back(name);
    const auto found = names.find(name);
    std::vector<platform::NetAddress> out;
    for (const std::string& label :
         found != names.end() ? found->second : std::vector<std::string>{name}) {
      out.push_back(AddressOf(label));
    }
    return out;
  }
  bool Send(uint64_t ticket, const platform::NetAddress& address, uint16_t port,
            uint32_t* error) override {
    std::function<void(size_t)> hook;
    size_t count = 0;
    {
      std::lock_guard guard(m_mutex);
      if (m_abandoned) {
        *error = platform::kErrorInterrupted;
        return false;
      }
      const std::string label = m_labels.at(address);
      asked.push_back(label);
      count = asked.size();
      lastPort = port;
      std::vector<TimePoint>& earlier = m_arrivals[label];
      Answer answer;
      if (silent.count(label) != 0) {
        answer.error = platform::kErrorTimedOut;
        m_heldSilent = true;
      } else if (const auto behaviour = behaviours.find(label); behaviour != behaviours.end()) {
        answer = behaviour->second(m_now, earlier);
      } else if (auto& script = scripts[label]; !script.empty()) {
        answer.offset = script.front();
        script.pop_front();
      }
      earlier.push_back(m_now);
      const bool silence = !answer.offset && answer.error == platform::kErrorTimedOut;
      const TimePoint end = m_now + (silence ? std::chrono::milliseconds(timeout) : answer.delay);
      m_pending[ticket] = {end, answer};
      hook = onSend;
    }
    if (hook) hook(count);
    return true;
  }
  std::vector<SntpOutcome> Wait(TimePoint until) override {
    std::unique_lock guard(m_mutex);
    if (m_heldSilent) {
      m_wake.wait_for(guard, silence, [this] { return m_abandoned; });
      m_heldSilent = false;
    }
    if (m_abandoned) return {};
    TimePoint next = until;
    for (const auto& [ticket, pending] : m_pending) next = std::min(next, pending.end);
    m_now = std::max(m_now, next);
    std::vector<SntpOutcome> ended;
    for (auto at = m_pending.begin(); at != m_pending.end();) {
      if (at->second.end > m_now) {
        ++at;
        continue;
      }
      SntpOutcome outcome;
      outcome.ticket = at->first;
      outcome.answered = at->second.answer.offset.has_value();
      outcome.error = outcome.answered ? 0 : at->second.answer.error;
      outcome.result.clockOffset = at->second.answer.offset.value_or(0.0);
      ended.push_back(outcome);
      at = m_pending.erase(at);
    }
    return ended;
  }
  void DropAll() override {
    std::lock_guard guard(m_mutex);
    m_pending.clear();
  }
  void Abandon() override {
    std::lock_guard guard(m_mutex);
    m_abandoned = true;
    m_wake.notify_all();
  }

  // When each request to the address (by its label) arrived, from the start.
  std::vector<std::chrono::milliseconds> ArrivalsAt(const std::string& label) const {
    std::lock_guard guard(m_mutex);
    std::vector<std::chrono::milliseconds> out;
    if (const auto found = m_arrivals.find(label); found != m_arrivals.end()) {
      for (const TimePoint t : found->second) {
        out.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(t - kStart));
      }
    }
    return out;
  }
  void Advance(std::chrono::milliseconds by) {
    std::lock_guard guard(m_mutex);
    m_now += by;
  }

  std::map<std::string, std::vector<std::string>> names;
  std::map<std::string, std::deque<std::optional<double>>> scripts;
  std::map<std::string, Behaviour> behaviours;
  std::set<std::string> silent;
  std::chrono::milliseconds silence{10'000};
  std::function<void(size_t)> onSend;  // after each request, with the count so far
  std::vector<std::string> asked;      // labels, in the order sent
  std::vector<std::string> resolved;   // names, in the order looked up
  uint32_t timeout = 0;
  uint16_t lastPort = 0;

 private:
  struct Pending {
    TimePoint end;
    Answer answer;
  };
  platform::NetAddress AddressOf(const std::string& label) {
    for (const auto& [address, known] : m_labels) {
      if (known == label) return address;
    }
    const auto address = platform::NetAddress::V4(static_cast<uint32_t>(m_labels.size() + 1));
    m_labels[address] = label;
    return address;
  }

  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  TimePoint m_now = kStart;
  bool m_abandoned = false;
  bool m_heldSilent = false;
  std::map<platform::NetAddress, std::string> m_labels;
  std::map<std::string, std::vector<TimePoint>> m_arrivals;
  std::map<uint64_t, Pending> m_pending;
};

}  // namespace vantorel::test
