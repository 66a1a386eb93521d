#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "mainwnd/calibration_run.h"

namespace vantorel::test {

// A window for a calibration run: writes down what the run asks of it, in order.
class RecordingHost final : public CalibrationHost {
 public:
  void EnableActions(bool enable) override { Add(enable ? "enable" : "disable"); }
  void SetProgressRange(int lower, int upper) override {
    Add("range " + std::to_string(lower) + "-" + std::to_string(upper));
  }
  void SetProgressPos(int position) override {
    lastPosition = position;
    positions.push_back(position);
  }
  void SetProgressMode(BarMode mode) override { lastMode = mode; }
  bool RunPrompt(Language language) override {
    Add("prompt " + std::to_string(IndexOf(language)));
    return promptAnswer;
  }
  void SetCorrection(const int64_t* correction) override {
    Add(correction ? "correction " + std::to_string(*correction) : std::string("no correction"));
  }
  void StartClock() override { Add("start clock"); }
  void StopClock() override { Add("stop clock"); }
  void SaveSettings(const SettingsRecord& record) override {
    Add("save " + std::to_string(record.nSelNTPServerIndex));
  }

  std::vector<std::string> Calls() {
    std::lock_guard guard(m_mutex);
    return m_calls;
  }
  bool promptAnswer = false;
  int lastPosition = -1;
  std::vector<int> positions;  // written by the run's thread: read once it has ended
  std::optional<BarMode> lastMode;

 private:
  void Add(std::string call) {
    std::lock_guard guard(m_mutex);
    m_calls.push_back(std::move(call));
  }
  std::mutex m_mutex;
  std::vector<std::string> m_calls;
};

}  // namespace vantorel::test
