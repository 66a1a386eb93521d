#include "mainwnd/calibration_run.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "ntp/ntp_packet.h"
#include "ntp/sntp_client.h"
#include "platform/last_error.h"
#include "platform/log.h"

namespace vantorel {
namespace {
constexpr double kUnitsPerSecond = 1000.0 * 1000.0 * 10.0;
constexpr int kZoneCodeOfUtc = 12;
}  // namespace

ActionStates ActionsAfter(bool enable, bool clockRunning, bool calibrateEnabled) {
  if (!enable) return ActionStates{false, false, false};
  return ActionStates{clockRunning || calibrateEnabled, true, true};
}

CalibrationRun::CalibrationRun(CalibrationHost& host, SntpQuery& sntp,
                               const platform::NetworkState& network, const platform::Clock& clock,
                               const platform::HostZone& hostZone)
    : m_host(host),
      m_sntp(sntp),
      m_network(network),
      m_clock(clock),
      m_hostZone(hostZone),
      m_sleep([](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }) {}

CalibrationRun::~CalibrationRun() {
  Wait();
}

int CalibrationRun::LocalZoneCode() const {
  return kZoneCodeOfUtc - m_hostZone.Read().bias / 60;
}

bool CalibrationRun::IsPlausibleOffset(double seconds) const {
  const double units = seconds * kUnitsPerSecond;
  // Beyond the 64-bit range the corrected time is nonsense whatever its year.
  if (!(units > static_cast<double>(std::numeric_limits<int64_t>::min()) &&
        units < static_cast<double>(std::numeric_limits<int64_t>::max()))) {
    return false;
  }
  const platform::FileTime corrected =
      m_clock.LocalNow() + static_cast<uint64_t>(static_cast<int64_t>(units));
  return platform::FileTimeToSystemTime(corrected).wYear >= kPlausibleYear;
}

int CalibrationRun::DistanceOf(const ServerEntry& entry) const {
  return std::abs(LocalZoneCode() - entry.zoneCode);
}

void CalibrationRun::Cancel() {
  m_cancel = true;
  m_sntp.Abandon();  // a query waiting out its time-out ends now
}

std::string InitialServer(SettingsRecord& settings, const std::vector<ServerEntry>& servers) {
  const int index = settings.nSelNTPServerIndex;
  if (index >= 0 && index < static_cast<int>(servers.size())) {
    return servers[static_cast<size_t>(index)].host;
  }
  settings.nSelNTPServerIndex = -1;
  return std::string(kLastResortServer);
}

void CalibrationRun::SelectInitialServer() {
  m_currentServer = InitialServer(m_settings, m_servers);
}

void CalibrationRun::ChooseServer() {
  const int count = static_cast<int>(m_servers.size());
  int& index = m_settings.nSelNTPServerIndex;
  if (count == 0) {
    index = -1;
    m_currentServer = std::string(kLastResortServer);
    return;
  }
  if (m_settings.bDefualtServers == 0) {
    index = (index < 0 || index + 1 >= count) ? 0 : index + 1;
    m_currentServer = m_servers[static_cast<size_t>(index)].host;
    return;
  }
  // The built-in list: nearest zones first, equally near ones in list order, then the next
  // ring of distance, and after the farthest ring the nearest again.
  const bool current = index >= 0 && index < count;
  const int d0 = current ? DistanceOf(m_servers[static_cast<size_t>(index)]) : -1;
  if (current) {
    for (int i = index + 1; i < count; ++i) {
      if (DistanceOf(m_servers[static_cast<size_t>(i)]) == d0) {
        index = i;
        m_currentServer = m_servers[static_cast<size_t>(i)].host;
        return;
      }
    }
  }
  for (const int floor : {d0, -1}) {
    int best = -1;
    for (int i = 0; i < count; ++i) {
      const int d = DistanceOf(m_servers[static_cast<size_t>(i)]);
      if (d > floor && (best < 0 || d < DistanceOf(m_servers[static_cast<size_t>(best)]))) best = i;
    }
    if (best >= 0) {
      index = best;
      m_currentServer = m_servers[static_cast<size_t>(best)].host;
      return;
    }
  }
}

bool CalibrationRun::ChooseServerBut(const std::vector<std::string>& refused) {
  const auto isRefused = [&] {
    return std::find(refused.begin(), refused.end(), m_currentServer) != refused.end();
  };
  // Each pick moves on through the list, and the list plus the last resort holds at most
  // size + 1 names: that many picks meet every one of them.
  for (size_t pick = 0; pick <= m_servers.size(); ++pick) {
    ChooseServer();
    if (!isRefused()) return true;
  }
  return false;
}

bool CalibrationRun::StartCalibration() {
  if (m_running.exchange(true)) return false;
  if (m_worker.joinable()) m_worker.join();  // the last run has ended; this only reaps it
  if (m_currentServer.empty()) m_currentServer = std::string(kFallbackServer);
  try {
    m_worker = std::thread([this] {
      Run();
      m_running = false;
    });
  } catch (const std::system_error&) {
    platform::Log("cannot start a calibration run");
    m_running = false;
    return false;
  }
  return true;
}

void CalibrationRun::Wait() {
  if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id()) m_worker.join();
}

CalibrationOutcome CalibrationRun::LastOutcome() const {
  std::lock_guard guard(m_outcomeMutex);
  return m_outcome;
}

CalibrationOutcome CalibrationRun::Run() {
  m_host.EnableActions(false);
  m_sntp.SetTimeout(kQueryTimeoutMs);
  const int serverCount = static_cast<int>(m_servers.size());
  const int total = serverCount * kOffsetsPerRun;
  int successes = 0;
  int serverSuccesses = 0;
  int failures = 0;
  int switches = 0;
  int attempt = 0;
  int progress = 0;
  int queries = 0;
  double sum = 0.0;
  // Servers that answered with a kiss-o'-death: they asked to be left alone, and are for the
  // rest of this run.
  std::vector<std::string> refused;
  m_host.SetProgressRange(0, total);
  m_host.SetProgressPos(0);

  if (m_network.IsConnected()) {
    if (m_settings.nSelNTPServerIndex < 0) ChooseServer();
    while (attempt < total && !m_cancel) {
      if (successes < kOffsetsPerRun && failures >= kFailuresPerServer) {
        ++switches;
        if (!ChooseServerBut(refused)) break;
        progress += kOffsetsPerRun - failures - serverSuccesses;
        failures = 0;
        serverSuccesses = 0;
        attempt = 0;
      }
      SntpResult result;
      ++queries;
      if (!m_sntp.Query(m_currentServer, result, kNtpPort)) {
        if (platform::GetLastError() == kNtpErrorKissOfDeath) {
          refused.push_back(m_currentServer);
          failures = kFailuresPerServer;  // switch now, as after a server's last failure
        } else {
          ++failures;
        }
      } else if (IsPlausibleOffset(result.clockOffset)) {
        sum += result.clockOffset;
        ++successes;
        ++serverSuccesses;
        failures = 0;
      } else {
        ++failures;
      }
      if (successes >= kOffsetsPerRun || switches >= serverCount) break;
      m_host.SetProgressMode(static_cast<double>(successes) / (attempt + 1) > kGoodRatio
                                 ? BarMode::kNormal
                                 : BarMode::kAlternative);
      m_sleep(kPause);
      m_host.SetProgressPos(++progress);
      ++attempt;
    }
    m_host.SetProgressPos(total);
  }

  CalibrationOutcome outcome;
  if (m_cancel) return outcome;
  outcome.successes = successes;
  outcome.switches = switches;
  outcome.queries = queries;
  outcome.calibrated = successes >= kOffsetsPerRun;
  if (outcome.calibrated) {
    outcome.correction = static_cast<int64_t>(sum / successes * kUnitsPerSecond);
    m_host.SetCorrection(&outcome.correction);
    m_host.StartClock();
    m_host.SetProgressMode(BarMode::kNormal);
  } else {
    m_host.SetProgressMode(BarMode::kAlternative);
    if (m_host.RunPrompt(LanguageOf(m_settings.nSelLanguageIndex))) {
      m_host.SetCorrection(nullptr);
      m_host.StartClock();
    } else {
      m_host.StopClock();
    }
  }
  {
    std::lock_guard guard(m_outcomeMutex);
    m_outcome = outcome;
  }
  m_host.EnableActions(true);
  m_host.SaveSettings(m_settings);
  return outcome;
}

}  // namespace vantorel
