#include "mainwnd/clock_controller.h"

#include <utility>

#include "clocks/signal_transmitter.h"
#include "ntp/parallel_sntp.h"
#include "timezone/zone_time.h"

namespace vantorel {
namespace {
constexpr int kWeekdayMask = 0xFF;
constexpr int kSaturday = 6;
}  // namespace

ClockController::ClockController(ClockView& view, HourlySchedule& schedule,
                                 ControllerServices services)
    : m_view(view),
      m_schedule(schedule),
      m_services(std::move(services)),
      m_ownSntp(m_services.sntp != nullptr ? nullptr : std::make_unique<ParallelSntp>()),
      m_engine(*m_services.clock),
      m_run(*this, m_services.sntp != nullptr ? *m_services.sntp : *m_ownSntp, *m_services.network,
            *m_services.clock, *m_services.hostZone) {}

ClockController::~ClockController() {
  Shutdown();
}

void ClockController::Start(bool calibrateNow) {
  SntpClient::InitializeNetwork();
  {
    std::lock_guard lock(m_mutex);
    m_currentServer = InitialServer(m_settings, m_servers);
  }
  m_engine.SetTarget(this);
  m_engine.SetCorrection(nullptr);
  m_engine.Stop();
  SetActions(true);
  if (calibrateNow) Update();
  m_schedule.Start(kCalibrationPeriod, [this] { StartCalibration(); });
}

void ClockController::AttachSignal(SignalTransmitter* transmitter) {
  if (SignalTransmitter* old = m_signal.exchange(transmitter)) old->SetTarget(nullptr);
  if (transmitter != nullptr) transmitter->SetTarget(this);
}

void ClockController::Shutdown() {
  if (m_shutDown.exchange(true)) return;
  m_schedule.Stop();
  m_run.Cancel();
  m_run.Wait();
  m_engine.SetTarget(nullptr);
  m_engine.Stop();
  AttachSignal(nullptr);
}

void ClockController::ApplySettings() {
  std::optional<Language> language;
  std::optional<int32_t> bias;
  {
    // Read under the lock the run's end saves under: a file read before that save and taken
    // after it would put the run's server position back to what it was.
    std::lock_guard lock(m_mutex);
    SettingsRecord fresh;
    LoadSettings(&fresh, m_services.settingsFile);
    if (m_firstApply || fresh.nSelLanguageIndex != m_settings.nSelLanguageIndex) {
      language = LanguageOf(fresh.nSelLanguageIndex);
    }
    if (m_firstApply || fresh.nSelTimeZoneIndex != m_settings.nSelTimeZoneIndex ||
        fresh.bDST != m_settings.bDST) {
      fresh.nSelTimeZoneIndex = ResolveZoneIndex(fresh.nSelTimeZoneIndex, fresh.bTimeZoneUnset != 0,
                                                 *m_services.hostZone);
      bias = ZoneBiasMinutes(fresh.nSelTimeZoneIndex, fresh.bDST != 0);
    }
    m_firstApply = false;

    std::vector<ServerEntry> servers;
    if (!fresh.strServers || fresh.bDefualtServers != 0) {
      servers = BuiltInServers();
      fresh.bDefualtServers = 1;
    } else {
      servers = SplitServerList(*fresh.strServers);
      if (fresh.nSelNTPServerIndex >= static_cast<int>(servers.size())) {
        fresh.nSelNTPServerIndex = -1;
      } else if (fresh.nSelNTPServerIndex >= 0) {
        m_currentServer = servers[static_cast<size_t>(fresh.nSelNTPServerIndex)].host;
      }
    }
    m_settings = std::move(fresh);
    m_servers = std::move(servers);
  }
  if (bias) m_engine.SetZoneBias(*bias);
  if (language) m_view.ShowLanguage(*language);
}

void ClockController::StartCalibration() {
  // One run at a time: the hourly schedule skips while one is under way.
  if (m_shutDown || m_run.Running()) return;
  ApplySettings();
  StartRun();
}

void ClockController::Update() {
  ApplySettings();
  StartRun();
  m_engine.Stop();  // placeholders while the run lasts
}

void ClockController::StartRun() {
  std::lock_guard lock(m_mutex);
  if (m_shutDown || m_run.Running()) return;
  // The run's own copy: nothing applied from now on reaches into the run.
  m_run.Settings() = m_settings;
  m_run.SetServers(m_servers);
  m_run.SetCurrentServer(m_currentServer);
  m_run.StartCalibration();
}

void ClockController::Calibrate() {
  SignalTransmitter* signal = m_signal;
  if (m_shutDown || signal == nullptr || !Actions().calibrate) return;
  if (m_engine.Flags() & DigitalClock::kCorrectionPresent) {
    const int64_t correction = m_engine.Correction();
    const int64_t shift = m_engine.ZoneShift();
    signal->StartTransmission(&correction, &shift, kSignalCalibrated);
  } else {
    signal->StartTransmission(nullptr, nullptr, kSignalNotCalibrated);
  }
}

void ClockController::Correct() {
  SignalTransmitter* signal = m_signal;
  if (m_shutDown || signal == nullptr || !Actions().correct) return;
  signal->StartTransmission(nullptr, nullptr, kSignalNotCalibrated);
}

Language ClockController::CurrentLanguage() const {
  std::lock_guard lock(m_mutex);
  return LanguageOf(m_settings.nSelLanguageIndex);
}

int ClockController::ZoneIndex() const {
  std::lock_guard lock(m_mutex);
  return m_settings.nSelTimeZoneIndex;
}

ActionStates ClockController::Actions() const {
  std::lock_guard lock(m_mutex);
  return m_actions;
}

SettingsRecord ClockController::Settings() const {
  std::lock_guard lock(m_mutex);
  return m_settings;
}

std::vector<ServerEntry> ClockController::Servers() const {
  std::lock_guard lock(m_mutex);
  return m_servers;
}

bool ClockController::ClockRunning() const {
  return (m_engine.Flags() & DigitalClock::kRunning) != 0;
}

intptr_t ClockController::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (m_shutDown) return 0;
  switch (message) {
    case kMsgSignalStarted:
      SignalStarted();
      break;
    case kMsgSignalFinished:
      SignalFinished();
      break;
    case kMsgClockDate:
    case kMsgClockTime:
    case kMsgClockWeekday:
    case kMsgClockCorrection:
      // Whether the clock runs is read where the message is handled: an Update that stopped
      // it while this tick waited for the view's thread must win over the tick.
      m_view.OnViewThread([&] { ShowClockMessage(message, wParam, lParam); });
      break;
    default:
      break;
  }
  return 0;
}

void ClockController::ShowClockMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool running = ClockRunning();
  switch (message) {
    case kMsgClockDate:
      m_view.ShowDate(running ? reinterpret_cast<const char*>(wParam)
                              : DigitalClock::kDatePlaceholder);
      break;
    case kMsgClockTime:
      m_view.ShowTime(
          running ? reinterpret_cast<const char*>(wParam) : DigitalClock::kTimePlaceholder,
          running ? reinterpret_cast<const platform::SystemTime*>(lParam) : nullptr);
      break;
    case kMsgClockWeekday: {
      int weekday = static_cast<int>(wParam & kWeekdayMask);
      if (weekday > kSaturday) weekday = 0;
      m_view.ShowWeekday(running ? std::optional<int>(weekday) : std::nullopt);
      break;
    }
    default:
      m_view.ShowCalibrated((m_engine.Flags() & DigitalClock::kCorrectionPresent) != 0);
      break;
  }
}

void ClockController::SignalStarted() {
  {
    std::lock_guard lock(m_mutex);
    m_transmitting = true;
  }
  m_view.ShowTransmitting(true);
  SetActions(false);
}

void ClockController::SignalFinished() {
  m_view.ShowTransmitting(false);
  {
    std::lock_guard lock(m_mutex);
    m_transmitting = false;
    // A run that started meanwhile (the hourly one) keeps the actions until it hands them
    // back; one that has handed them back while the signal flashed left them to this end.
    if (m_runHoldsActions) return;
  }
  SetActions(true);
}

// The run's own calls: it holds the actions from its start until it hands them back at its
// end, which is when they count as free again, whatever it still does before its thread ends.
void ClockController::EnableActions(bool enable) {
  {
    std::lock_guard lock(m_mutex);
    m_runHoldsActions = !enable;
  }
  SetActions(enable);
}

void ClockController::SetActions(bool enable) {
  ActionStates states;
  uint64_t version = 0;
  {
    std::lock_guard lock(m_mutex);
    // A run that ends while the signal flashes leaves the actions to the signal's end.
    if (enable && m_transmitting) return;
    m_actions = ActionsAfter(enable, ClockRunning(), m_actions.calibrate);
    states = m_actions;
    version = ++m_actionsVersion;
  }
  PublishActions(states, version);
}

// Two threads may change the states at once and reach the view in the other order; whoever
// finds that newer states came meanwhile shows those too, so the last word is the newest.
void ClockController::PublishActions(ActionStates states, uint64_t version) {
  for (;;) {
    m_view.ShowActions(states);
    std::lock_guard lock(m_mutex);
    if (m_actionsVersion == version) return;
    states = m_actions;
    version = m_actionsVersion;
  }
}

void ClockController::SetProgressRange(int lower, int upper) {
  m_view.SetProgressRange(lower, upper);
}
void ClockController::SetProgressPos(int position) {
  m_view.SetProgressPos(position);
}
void ClockController::SetProgressMode(BarMode mode) {
  m_view.SetProgressMode(mode);
}

// The question comes in the language shown now, which may have changed since the run began.
bool ClockController::RunPrompt(Language) {
  return m_view.AskUseComputerClock(CurrentLanguage());
}

void ClockController::SetCorrection(const int64_t* correction) {
  m_engine.SetCorrection(correction);
}
void ClockController::StartClock() {
  m_engine.Start();
}
void ClockController::StopClock() {
  m_engine.Stop();
}

// The run's end: the settings as they are now, applied meanwhile or not, with the run's
// server position when the run used the servers they name.
void ClockController::SaveSettings(const SettingsRecord& record) {
  std::lock_guard lock(m_mutex);
  if (m_run.Servers() == m_servers) {
    m_settings.nSelNTPServerIndex = record.nSelNTPServerIndex;
    m_currentServer = m_run.CurrentServer();
  }
  // A failed save has logged its reason already; the user is not told (nothing to do).
  vantorel::SaveSettings(&m_settings, false, m_services.settingsFile);
}

}  // namespace vantorel
