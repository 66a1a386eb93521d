// Tick lateness of the clock engine: how far past each second boundary of the corrected clock
// (correction +0.5 s) the tick's time message arrives.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

#include "clocks/digital_clock.h"
#include "platform/message_target.h"
#include "stats.h"

namespace {

using namespace std::chrono_literals;

class LatenessTarget final : public vantorel::MessageTarget {
 public:
  explicit LatenessTarget(const vantorel::DigitalClock& engine) : m_engine(engine) {}
  intptr_t SendMessage(uint32_t message, uintptr_t, intptr_t lParam) override {
    if (message != vantorel::kMsgClockTime || lParam == 0) return 0;
    const uint64_t into = m_engine.CorrectedNow() % vantorel::platform::kFileTimeUnitsPerSecond;
    std::lock_guard guard(m_mutex);
    m_lateness.push_back(static_cast<double>(into) / vantorel::platform::kFileTimeUnitsPerMs);
    return 0;
  }
  std::vector<double> Take() {
    std::lock_guard guard(m_mutex);
    return m_lateness;
  }

 private:
  const vantorel::DigitalClock& m_engine;
  std::mutex m_mutex;
  std::vector<double> m_lateness;
};

// Returns the lateness samples, in ms.
std::vector<double> Run(const char* name, int seconds, bool loaded) {
  std::optional<vantorel::bench::BusyCore> busy;
  if (loaded) busy.emplace();
  vantorel::DigitalClock engine;
  LatenessTarget target(engine);
  const int64_t halfSecond = 5'000'000;
  engine.SetCorrection(&halfSecond);
  const double cpuBefore = vantorel::bench::ProcessCpuSeconds();
  engine.Start();
  std::this_thread::sleep_for(1500ms);  // alignment: the first ticks are not on a boundary
  engine.SetTarget(&target);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  engine.SetTarget(nullptr);
  engine.Stop();
  const double cpu = vantorel::bench::ProcessCpuSeconds() - cpuBefore;
  std::vector<double> samples = target.Take();
  vantorel::bench::PrintRow(name, samples, "ms", loaded ? -1.0 : 100.0 * cpu / (seconds + 1.5));
  return samples;
}

}  // namespace

// clock_bench [SECONDS [SAMPLES_FILE]]: the idle run's samples, one per line, go to the file.
int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 61;
  vantorel::bench::PrintHeader();
  const std::vector<double> idle = Run("clock tick lateness, idle", seconds, false);
  if (argc > 2) {
    FILE* file = std::fopen(argv[2], "w");
    if (!file) return 1;
    for (double ms : idle) std::fprintf(file, "%.4f\n", ms);
    std::fclose(file);
    return 0;
  }
  Run("clock tick lateness, other core busy", seconds, true);
  return 0;
}
