#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "controls/skin_geometry.h"
#include "ntp/address_pacing.h"
#include "platform/clock.h"
#include "platform/host_zone.h"
#include "platform/network_state.h"
#include "settings/settings.h"

namespace vantorel {

class SntpExchange;

// What a calibration run asks of the window: its progress bar, its action buttons, the clock
// engine, the prompt after a failed run and the settings. Called from the run's worker; the
// window marshals to its own thread where it must.
class CalibrationHost {
 public:
  virtual ~CalibrationHost() = default;
  virtual void EnableActions(bool enable) = 0;
  virtual void SetProgressRange(int lower, int upper) = 0;
  virtual void SetProgressPos(int position) = 0;
  virtual void SetProgressMode(BarMode mode) = 0;
  // True when the user chose to go on with the computer's own clock.
  virtual bool RunPrompt(Language language) = 0;
  // The correction in 100 ns units, or none; then the engine starts or stops.
  virtual void SetCorrection(const int64_t* correction) = 0;
  virtual void StartClock() = 0;
  virtual void StopClock() = 0;
  virtual void SaveSettings(const SettingsRecord& record) = 0;
};

// The buttons' states after EnableActions: Calibrate follows the clock engine when enabling.
struct ActionStates {
  bool calibrate;
  bool correct;
  bool update;
};
ActionStates ActionsAfter(bool enable, bool clockRunning, bool calibrateEnabled);

// The server the first run starts from: the stored position's when it names one of the
// servers, else the last resort, and the stored position becomes -1.
std::string InitialServer(SettingsRecord& settings, const std::vector<ServerEntry>& servers);

// How a run ended, for the window and for tests.
struct CalibrationOutcome {
  bool calibrated = false;
  int successes = 0;
  int queries = 0;
  int addresses = 0;        // different addresses asked
  int64_t correction = 0;   // 100 ns units, when calibrated
  double longestDelay = 0;  // seconds, of the offsets taken
};

// One calibration run at a time: asks servers until twelve plausible offsets are in, and
// hands their mean to the clock engine. Every address of every name is a server of its own;
// the run asks as many at once as it still needs offsets, nearest ring first, and never asks
// an address twice within the pacing's spacing, in one run or across runs.
class CalibrationRun {
 public:
  static constexpr int kOffsetsPerRun = 12;
  // An address that fails this often in a row is left for the rest of the run.
  static constexpr int kFailuresPerServer = 5;
  static constexpr double kGoodRatio = 0.25;
  static constexpr uint32_t kQueryTimeoutMs = 1500;
  static constexpr uint16_t kNtpPort = 123;
  static constexpr int kPlausibleYear = 2012;
  static constexpr auto kLongestPause = AddressPacing::kSpacing + AddressPacing::kMargin;

  CalibrationRun(CalibrationHost& host, SntpExchange& sntp, const platform::NetworkState& network,
                 const platform::Clock& clock = platform::SystemClock(),
                 const platform::HostZone& hostZone = platform::SystemHostZone());
  // Waits for a run in progress.
  ~CalibrationRun();
  CalibrationRun(const CalibrationRun&) = delete;
  CalibrationRun& operator=(const CalibrationRun&) = delete;

  // The run's own record and server list; not to be touched while a run is under way.
  SettingsRecord& Settings() { return m_settings; }
  void SetServers(std::vector<ServerEntry> servers) { m_servers = std::move(servers); }
  const std::vector<ServerEntry>& Servers() const { return m_servers; }
  const std::string& CurrentServer() const { return m_currentServer; }
  void SetCurrentServer(std::string server) { m_currentServer = std::move(server); }

  void SelectInitialServer();
  void ChooseServer();
  // The names a run asks, in order, with their positions in the list (-1: none of the list's):
  // the server in use first, then the built-in list ring by ring from the nearest, or the
  // user's list on from the server in use.
  std::vector<std::pair<std::string, int>> RunOrder() const;
  int LocalZoneCode() const;
  bool IsPlausibleOffset(double seconds) const;

  // Starts a run on its worker; false, and nothing started, while one runs.
  bool StartCalibration();
  bool Running() const { return m_running; }
  // Ends a run in progress at its next query without telling the window anything: the window
  // is going away.
  void Cancel();
  // Waits for the current run to end.
  void Wait();
  // The run itself, on the calling thread.
  CalibrationOutcome Run();
  CalibrationOutcome LastOutcome() const;

 private:
  int DistanceOf(const ServerEntry& entry) const;
  // Where ChooseServer goes from a position; -1 for an empty list.
  int NextPosition(int index) const;

  CalibrationHost& m_host;
  SntpExchange& m_sntp;
  const platform::NetworkState& m_network;
  const platform::Clock& m_clock;
  const platform::HostZone& m_hostZone;
  AddressPacing m_pacing;  // outlives every run

  SettingsRecord m_settings;
  std::vector<ServerEntry> m_servers;
  std::string m_currentServer;

  std::atomic<bool> m_running{false};
  std::atomic<bool> m_cancel{false};
  std::thread m_worker;
  mutable std::mutex m_outcomeMutex;
  CalibrationOutcome m_outcome;
};

}  // namespace vantorel
