// Whole calibration runs as the program makes them, one after the other in one process (so the
// spacing between runs holds as it does in the program): each run's wall time from its start to
// its end, whether it calibrated, its requests and the correction it found.
//   calibration_bench LIST RUNS [PAUSE_MS]
//     LIST: "builtin" for the built-in list, else host names joined by ";" (a user's list)
//   → one line per run: "<milliseconds> <calibrated 0|1> <requests> <correction in ms>"
//   calibration_bench names → the built-in list's host names, one per line
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mainwnd/calibration_run.h"
#include <thread>

#include "ntp/parallel_sntp.h"
#include "platform/network_state.h"

namespace {

using Clock = std::chrono::steady_clock;

class Connected final : public vantorel::platform::NetworkState {
 public:
  bool IsConnected() const override { return true; }  // loopback is all a benchmark asks
};

class TimingHost final : public vantorel::CalibrationHost {
 public:
  void EnableActions(bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPos(int) override {}
  void SetProgressMode(vantorel::BarMode) override {}
  bool RunPrompt(vantorel::Language) override { return false; }
  void SetCorrection(const int64_t*) override {}
  void StartClock() override {}
  void StopClock() override {}
  void SaveSettings(const vantorel::SettingsRecord&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "names") {
    for (const vantorel::ServerEntry& entry : vantorel::BuiltInServers()) {
      std::printf("%s\n", entry.host.c_str());
    }
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s LIST RUNS [PAUSE_MS]\n", argv[0]);
    return 2;
  }
  const std::string list = argv[1];
  const int runs = std::atoi(argv[2]);
  const auto pause = std::chrono::milliseconds(argc > 3 ? std::atoi(argv[3]) : 0);
  Connected network;
  vantorel::ParallelSntp sntp;
  TimingHost host;
  vantorel::CalibrationRun run(host, sntp, network);
  if (list == "builtin") {
    run.SetServers(vantorel::BuiltInServers());
  } else {
    run.Settings().bDefualtServers = 0;
    run.SetServers(vantorel::SplitServerList(list));
  }
  run.Settings().nSelNTPServerIndex = -1;
  run.SelectInitialServer();
  int failed = 0;
  for (int i = 0; i < runs; ++i) {
    if (i > 0) std::this_thread::sleep_for(pause);
    const auto start = Clock::now();
    const vantorel::CalibrationOutcome outcome = run.Run();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    failed += outcome.calibrated ? 0 : 1;
    std::printf("%.3f %d %d %.6f\n", ms, outcome.calibrated ? 1 : 0, outcome.queries,
                static_cast<double>(outcome.correction) / 10'000.0);
    std::fflush(stdout);
  }
  return failed == 0 ? 0 : 1;
}
