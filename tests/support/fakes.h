#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/host_zone.h"
#include "platform/udp_socket.h"

namespace vantorel::test {

class FixedHostZone final : public platform::HostZone {
 public:
  FixedHostZone(int32_t bias, std::string name) : m_info{bias, std::move(name)} {}
  platform::HostZoneInfo Read() const override { return m_info; }

 private:
  platform::HostZoneInfo m_info;
};

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(platform::FileTime utc, int32_t biasMinutes = 0)
      : m_utc(utc), m_bias(biasMinutes) {}
  platform::FileTime UtcNow() const override { return m_utc.load(); }
  platform::FileTime LocalNow() const override {
    return m_utc.load() -
           static_cast<platform::FileTime>(m_bias * platform::kFileTimeUnitsPerMinute);
  }
  void Set(platform::FileTime utc) { m_utc = utc; }

 private:
  std::atomic<platform::FileTime> m_utc;
  int32_t m_bias;
};

// Answers from a fixed table after an optional delay and counts the lookups it was asked.
class CountingResolver final : public platform::NameResolver {
 public:
  explicit CountingResolver(std::optional<uint32_t> answer, std::chrono::milliseconds delay = {})
      : m_answer(answer), m_delay(delay) {}
  std::vector<platform::NetAddress> Resolve(const std::string&) override {
    ++calls;
    std::this_thread::sleep_for(m_delay);
    ++finished;
    if (!m_answer) return {};
    return {platform::NetAddress::V4(*m_answer)};
  }
  std::atomic<int> calls{0};
  std::atomic<int> finished{0};

 private:
  std::optional<uint32_t> m_answer;
  std::chrono::milliseconds m_delay;
};

}  // namespace vantorel::test
