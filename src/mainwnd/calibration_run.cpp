#include "mainwnd/calibration_run.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "ntp/ntp_packet.h"
#include "ntp/sntp_exchange.h"
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

CalibrationRun::CalibrationRun(CalibrationHost& host, SntpExchange& sntp,
                               const platform::NetworkState& network, const platform::Clock& clock,
                               const platform::HostZone& hostZone)
    : m_host(host), m_sntp(sntp), m_network(network), m_clock(clock), m_hostZone(hostZone) {}

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
  m_cancel = true;  // a query waiting out its time-out ends now
  m_sntp.Abandon();
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
  int& index = m_settings.nSelNTPServerIndex;
  index = NextPosition(index);
  m_currentServer =
      index < 0 ? std::string(kLastResortServer) : m_servers[static_cast<size_t>(index)].host;
}

int CalibrationRun::NextPosition(int index) const {
  const int count = static_cast<int>(m_servers.size());
  if (count == 0) return -1;
  if (m_settings.bDefualtServers == 0) return (index < 0 || index + 1 >= count) ? 0 : index + 1;
  // The built-in list: nearest zones first, equally near ones in list order, then the next
  // ring of distance, and after the farthest ring the nearest again.
  const bool current = index >= 0 && index < count;
  const int d0 = current ? DistanceOf(m_servers[static_cast<size_t>(index)]) : -1;
  if (current) {
    for (int i = index + 1; i < count; ++i) {
      if (DistanceOf(m_servers[static_cast<size_t>(i)]) == d0) return i;
    }
  }
  for (const int floor : {d0, -1}) {
    int best = -1;
    for (int i = 0; i < count; ++i) {
      const int d = DistanceOf(m_servers[static_cast<size_t>(i)]);
      if (d > floor && (best < 0 || d < DistanceOf(m_servers[static_cast<size_t>(best)]))) best = i;
    }
    if (best >= 0) return best;
  }
  return -1;
}

std::vector<std::pair<std::string, int>> CalibrationRun::RunOrder() const {
  std::vector<std::pair<std::string, int>> order;
  const auto add = [&](const std::string& name, int position) {
    for (const auto& [known, at] : order) {
      if (known == name) return;
    }
    order.emplace_back(name, position);
  };
  const int count = static_cast<int>(m_servers.size());
  const int stored = m_settings.nSelNTPServerIndex;
  if (stored >= 0 && stored < count) add(m_currentServer, stored);
  if (count == 0) add(std::string(kLastResortServer), -1);
  // ChooseServer's own walk: from nowhere, the built-in list goes ring by ring from the
  // nearest; the user's list goes on from the server in use.
  int position = m_settings.bDefualtServers != 0 ? -1 : stored;
  for (int i = 0; i < count; ++i) {
    position = NextPosition(position);
    add(m_servers[static_cast<size_t>(position)].host, position);
  }
  return order;
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

namespace {

// One address of one name, as a run sees it.
struct Target {
  platform::NetAddress address;
  size_t name = 0;  // in the run's order
  int requests = 0;
  int failures = 0;  // in a row
  bool inFlight = false;
  bool left = false;  // for the rest of the run
};

std::string ListText(const std::vector<ServerEntry>& servers) {
  std::string text;
  for (const ServerEntry& entry : servers) text += entry.host + ";";
  return text;
}

}  // namespace

CalibrationOutcome CalibrationRun::Run() {
  using TimePoint = SntpExchange::TimePoint;
  m_host.EnableActions(false);
  m_sntp.SetTimeout(kQueryTimeoutMs);
  const int serverCount = static_cast<int>(m_servers.size());
  const int total = serverCount * kOffsetsPerRun;
  int successes = 0;
  int queries = 0;
  int ended = 0;
  int failed = 0;
  double sum = 0.0;
  // The spread of what was summed, for the diagnostic line: a skewed run shows there.
  double lowest = std::numeric_limits<double>::infinity();
  double highest = -lowest;
  double longest = 0.0;
  std::optional<size_t> firstGood;  // the earliest name in the order that gave an offset
  m_host.SetProgressRange(0, total);
  m_host.SetProgressPos(0);

  const auto order = RunOrder();
  std::vector<Target> targets;
  size_t resolved = 0;  // names of the order looked up so far
  if (m_network.IsConnected()) {
    m_pacing.UseServerList(ListText(m_servers));
    // A run waits for an address to come free for as long as the spacing at most; a longer
    // wait (after a RATE) is a later run's.
    const auto waitable = [&](const Target& t, TimePoint now) {
      return !t.left && !t.inFlight && m_pacing.NextAllowed(t.address) <= now + kLongestPause;
    };
    // An address is asked again only once every address has been asked: then the list has
    // fewer answering addresses than offsets still missing.
    const auto freshLeft = [&](TimePoint now) {
      if (resolved < order.size()) return true;
      return std::any_of(targets.begin(), targets.end(),
                         [&](const Target& t) { return t.requests == 0 && waitable(t, now); });
    };
    // The next address to ask at `now`, or none; `later` gets the earliest time one of those
    // waiting for their spacing may be asked.
    const auto pick = [&](TimePoint now, TimePoint* later) -> Target* {
      const bool fresh = freshLeft(now);
      Target* best = nullptr;
      const auto better = [](const Target& a, const Target& b) {
        // Those that answered before those that failed, the least asked first, then in order.
        return std::tuple(a.failures > 0, a.requests) < std::tuple(b.failures > 0, b.requests);
      };
      for (Target& t : targets) {
        if (!waitable(t, now) || (fresh && t.requests > 0)) continue;
        const TimePoint allowed = m_pacing.NextAllowed(t.address);
        if (allowed > now) {
          *later = std::min(*later, allowed);
          continue;
        }
        if (fresh) return &t;
        if (best == nullptr || better(t, *best)) best = &t;
      }
      return best;
    };

    uint64_t ticket = 0;
    std::map<uint64_t, size_t> sent;  // ticket → target
    while (successes < kOffsetsPerRun && !m_cancel) {
      const TimePoint now = m_sntp.Now();
      TimePoint later = TimePoint::max();
      while (static_cast<int>(sent.size()) < kOffsetsPerRun - successes && !m_cancel) {
        Target* target = pick(now, &later);
        if (target == nullptr && resolved < order.size()) {
          for (const auto& address : m_sntp.Resolve(order[resolved].first)) {
            const bool known = std::any_of(targets.begin(), targets.end(),
                                           [&](const Target& t) { return t.address == address; });
            if (!known && !m_pacing.Refused(address)) targets.push_back({address, resolved});
          }
          ++resolved;
          continue;
        }
        if (target == nullptr) break;
        ++queries;
        ++target->requests;
        uint32_t error = 0;
        const bool out = m_sntp.Send(++ticket, target->address, kNtpPort, &error);
        // When it left, not when the round began: a name looked up meanwhile takes time.
        m_pacing.Sent(target->address, m_sntp.Now());
        if (out) {
          target->inFlight = true;
          sent[ticket] = static_cast<size_t>(target - targets.data());
        } else {
          ++ended;
          ++failed;
          target->left = ++target->failures >= kFailuresPerServer;
        }
      }
      if (m_cancel) break;
      if (sent.empty() && later == TimePoint::max()) break;  // no one left to ask
      // Wait for an answer, or for the next address whose spacing runs out while one is needed.
      const bool needMore = static_cast<int>(sent.size()) < kOffsetsPerRun - successes;
      const TimePoint until =
          needMore && later != TimePoint::max() ? later : now + std::chrono::hours(1);
      for (const SntpOutcome& outcome : m_sntp.Wait(until)) {
        const auto at = sent.find(outcome.ticket);
        if (at == sent.end()) continue;
        Target& target = targets[at->second];
        sent.erase(at);
        target.inFlight = false;
        ++ended;
        if (outcome.answered && IsPlausibleOffset(outcome.result.clockOffset)) {
          m_pacing.Answered(target.address);
          sum += outcome.result.clockOffset;
          lowest = std::min(lowest, outcome.result.clockOffset);
          highest = std::max(highest, outcome.result.clockOffset);
          longest = std::max(longest, outcome.result.roundTripDelay);
          ++successes;
          target.failures = 0;
          if (!firstGood || target.name < *firstGood) firstGood = target.name;
          if (successes == kOffsetsPerRun) break;  // exactly twelve, whatever else came
          continue;
        }
        ++failed;
        switch (outcome.error) {
          case kNtpErrorKissRate:
            m_pacing.RateLimited(target.address, m_sntp.Now());
            target.left = true;
            break;
          case kNtpErrorKissDeny:
            m_pacing.Denied(target.address);
            target.left = true;
            break;
          case kNtpErrorKissOfDeath:
          case platform::kErrorConnectionRefused:  // no server there: asking again won't help
            target.left = true;
            break;
          default:
            target.left = ++target.failures >= kFailuresPerServer;
        }
      }
      m_host.SetProgressMode(ended > 0 && static_cast<double>(successes) / ended > kGoodRatio
                                 ? BarMode::kNormal
                                 : BarMode::kAlternative);
      m_host.SetProgressPos(std::min(total, successes * serverCount + failed));
    }
    m_sntp.DropAll();
    m_host.SetProgressPos(total);
  }
  if (firstGood && order[*firstGood].second >= 0) {
    m_settings.nSelNTPServerIndex = order[*firstGood].second;
    m_currentServer = order[*firstGood].first;
  }

  CalibrationOutcome outcome;
  if (m_cancel) return outcome;
  outcome.successes = successes;
  outcome.queries = queries;
  outcome.addresses = static_cast<int>(std::count_if(
      targets.begin(), targets.end(), [](const Target& t) { return t.requests > 0; }));
  outcome.calibrated = successes >= kOffsetsPerRun;
  if (outcome.calibrated) {
    outcome.correction = static_cast<int64_t>(sum / successes * kUnitsPerSecond);
    outcome.longestDelay = longest;
    platform::Log("calibrated: %+.3f ms from %d offsets (%+.3f to %+.3f ms), delays up to %.3f ms",
                  sum / successes * 1e3, successes, lowest * 1e3, highest * 1e3, longest * 1e3);
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
