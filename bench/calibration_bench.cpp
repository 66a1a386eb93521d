// A whole calibration run against one NTP server, as the program runs it: its wall time from
// the start to the calibrated state, and the correction it found.
//   calibration_bench HOST RUNS  → one line per run: "<milliseconds> <correction in ms>"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mainwnd/calibration_run.h"
#include "ntp/sntp_client.h"
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
  void SetCorrection(const int64_t* correction) override {
    calibratedAt = Clock::now();
    calibrated = correction != nullptr;
  }
  void StartClock() override {}
  void StopClock() override {}
  void SaveSettings(const vantorel::SettingsRecord&) override {}

  Clock::time_point calibratedAt;
  bool calibrated = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s HOST RUNS\n", argv[0]);
    return 2;
  }
  Connected network;
  int failed = 0;
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    vantorel::SntpClient sntp;
    TimingHost host;
    vantorel::CalibrationRun run(host, sntp, network);
    run.SetServers({{0, argv[1]}});
    run.Settings().nSelNTPServerIndex = 0;
    run.SelectInitialServer();
    const auto start = Clock::now();
    const vantorel::CalibrationOutcome outcome = run.Run();
    if (!outcome.calibrated || !host.calibrated) {
      ++failed;
      continue;
    }
    const double ms = std::chrono::duration<double, std::milli>(host.calibratedAt - start).count();
    std::printf("%.3f %.6f\n", ms, static_cast<double>(outcome.correction) / 10'000.0);
  }
  return failed == 0 ? 0 : 1;
}
