#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "clocks/digital_clock.h"
#include "mainwnd/calibration_run.h"
#include "mainwnd/clock_view.h"
#include "platform/message_target.h"
#include "settings/settings.h"

namespace vantorel {

class SignalTransmitter;
class SntpExchange;

// Where the controller gets its services; tests replace them.
struct ControllerServices {
  SntpExchange* sntp = nullptr;  // null: the controller's own, over real sockets
  const platform::NetworkState* network = &platform::SystemNetworkState();
  const platform::Clock* clock = &platform::SystemClock();
  const platform::HostZone* hostZone = &platform::SystemHostZone();
  std::filesystem::path settingsFile = SettingsFilePath();
};

// The main window's rules without the window: owns the clock engine, the calibration runs,
// the hourly schedule and the settings record, and tells the view what to show. Its actions
// come from the view's thread; the engine, the run and the transmission report from their
// own threads. A run works on a copy of the settings taken at its start, so settings applied
// meanwhile (the settings dialog's OK) never reach into it: they count from the next run, and
// the run's end keeps them, adding only its own server position.
class ClockController final : public MessageTarget, private CalibrationHost {
 public:
  static constexpr std::chrono::milliseconds kCalibrationPeriod{3'600'000};

  ClockController(ClockView& view, HourlySchedule& schedule, ControllerServices services = {});
  // Shuts down first.
  ~ClockController() override;
  ClockController(const ClockController&) = delete;
  ClockController& operator=(const ClockController&) = delete;

  // The window is ready: the first server, the stopped clock, the actions, then the hourly
  // schedule; with calibrateNow an Update too.
  void Start(bool calibrateNow);
  // The transmitter that Calibrate and Correct use; it reports to this controller. Null: none.
  void AttachSignal(SignalTransmitter* transmitter);

  // Reads the settings file and takes what changed: the language at once, the zone and
  // daylight saving into the clock, the servers from the next run.
  void ApplySettings();
  // A run with the settings as they are now; nothing while one is under way.
  void StartCalibration();
  // The Update button: a run, with the clock's placeholders while it lasts.
  void Update();
  // The Calibrate button: the signal with the correction when there is one, else the plain
  // local clock. Only while the action is enabled.
  void Calibrate();
  // The correct action: the signal of the plain local clock.
  void Correct();
  // Ends the schedule, the run and the clock; the view hears nothing more. Idempotent.
  void Shutdown();

  // The engine's and the transmission's messages (kMsgClockTime …, kMsgSignalStarted …).
  intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  Language CurrentLanguage() const;
  int ZoneIndex() const;
  ActionStates Actions() const;
  // The record and the server list the next run starts from.
  SettingsRecord Settings() const;
  std::vector<ServerEntry> Servers() const;
  DigitalClock& Engine() { return m_engine; }
  CalibrationRun& Run() { return m_run; }

 private:
  // CalibrationHost: the run's worker.
  void EnableActions(bool enable) override;
  void SetProgressRange(int lower, int upper) override;
  void SetProgressPos(int position) override;
  void SetProgressMode(BarMode mode) override;
  bool RunPrompt(Language language) override;
  void SetCorrection(const int64_t* correction) override;
  void StartClock() override;
  void StopClock() override;
  void SaveSettings(const SettingsRecord& record) override;

  // A run on the settings as last applied; nothing while one is under way.
  void StartRun();
  void SignalStarted();
  void SignalFinished();
  void ShowClockMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void SetActions(bool enable);
  bool ClockRunning() const;
  // The view hears the latest states, whichever thread changed them last.
  void PublishActions(ActionStates states, uint64_t version);

  ClockView& m_view;
  HourlySchedule& m_schedule;
  ControllerServices m_services;
  std::unique_ptr<SntpExchange> m_ownSntp;
  std::atomic<bool> m_shutDown{false};
  std::atomic<SignalTransmitter*> m_signal{nullptr};

  mutable std::mutex m_mutex;  // everything below, up to the engine
  SettingsRecord m_settings;
  std::vector<ServerEntry> m_servers;
  std::string m_currentServer;
  bool m_firstApply = true;
  ActionStates m_actions{true, false, true};
  uint64_t m_actionsVersion = 0;
  bool m_transmitting = false;     // between the signal's start and its end
  bool m_runHoldsActions = false;  // between a run's first call and its handing them back

  DigitalClock m_engine;
  CalibrationRun m_run;
};

}  // namespace vantorel
