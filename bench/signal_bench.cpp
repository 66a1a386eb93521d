// Step lateness of the light signal: when each step's level is handed to the view, minus the
// step's due time; and the CPU the transmission costs.
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "clocks/signal_transmitter.h"
#include "clocks/signal_view.h"
#include "stats.h"

namespace {

using namespace std::chrono_literals;
using vantorel::SignalTransmitter;

class NullView final : public vantorel::SignalView {
 public:
  void ShowLevel(int, SteadyClock::time_point due) override { vantorel::WaitUntilDue(due); }
  void RequestRepaint() override {}
};

void Run(const char* name, int frames, bool loaded) {
  std::optional<vantorel::bench::BusyCore> busy;
  if (loaded) busy.emplace();
  SignalTransmitter transmitter;
  NullView view;
  transmitter.SetView(&view);
  std::vector<double> lateness;
  double cpu = 0;
  double wall = 0;
  for (int f = 0; f < frames; ++f) {
    const double cpuBefore = vantorel::bench::ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    transmitter.StartTransmission(nullptr, nullptr, 1);
    while (transmitter.Busy()) std::this_thread::sleep_for(20ms);
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu += vantorel::bench::ProcessCpuSeconds() - cpuBefore;
    for (int step = 1; step <= vantorel::kFrameSteps; ++step) {
      lateness.push_back(std::chrono::duration<double, std::milli>(transmitter.StepTime(step) -
                                                                   transmitter.StepDue(step))
                             .count());
    }
  }
  // With the other core busy the process CPU includes the spinning thread: not reported.
  vantorel::bench::PrintRow(name, lateness, "ms", loaded ? -1.0 : 100.0 * cpu / wall);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 10;
  vantorel::bench::PrintHeader();
  Run("signal step lateness, idle", frames, false);
  Run("signal step lateness, other core busy", frames, true);
  return 0;
}
