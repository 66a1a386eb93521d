#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QString>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/settings.h"
#include "clocks/digital_clock.h"
#include "mainwnd/calibration_run.h"
#include "ntp/sntp_client.h"
#include "platform/message_target.h"

namespace vantorel {

class AnalogClock;
class HelpDlg;
class MyBitmapButton;
class WndShadow;
class MyBitmapProgress;
class SignalArea;

// Where the main window gets its services; tests replace them.
struct MainWindowServices {
  SntpQuery* sntp = nullptr;  // null: the window's own client
  const platform::NetworkState* network = &platform::SystemNetworkState();
  const platform::Clock* clock = &platform::SystemClock();
  const platform::HostZone* hostZone = &platform::SystemHostZone();
  std::filesystem::path settingsFile = SettingsFilePath();
  // The question after a failed run; null: the prompt dialog.
  std::function<bool(int language)> prompt;
  bool calibrateAtStart = true;
};

// The main window: the skinned face, the clock texts, the calibration runs and the signal.
class VantorelDlg : public QDialog, public MessageTarget, public CalibrationHost {
 public:
  static constexpr int kIdClose = 2;
  static constexpr int kIdSetting = 1001;
  static constexpr int kIdUpdate = 1002;
  static constexpr int kIdCalibrate = 1004;
  static constexpr int kIdMinimise = 1006;
  static constexpr int kIdHelp = 1013;

  explicit VantorelDlg(MainWindowServices services = {}, QWidget* parent = nullptr);
  ~VantorelDlg() override;

  // The private messages, from any thread; handled on the window's thread while the sender
  // waits.
  intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  void ApplySettings();
  void ApplyLanguage(int language);
  void StartCalibration();
  void OnUpdate();
  void OnCalibrate();
  void OnCorrect();
  // The "?" button: creates the help window the first time, then shows and hides it.
  void OnHelp();
  HelpDlg* Help() const { return m_helpDlg.get(); }
  WndShadow* Shadow() const { return m_shadow.get(); }
  // Close, Escape: ends every worker, then the window.
  void reject() override;

  // What the window shows, for tests.
  const QString& TimeText() const { return m_timeText; }
  const QString& DateText() const { return m_dateText; }
  const QString& WeekdayText() const { return m_weekdayText; }
  int DateWidth() const { return m_dateWidth; }
  int StateLabelFrame() const { return m_labelFrame; }
  int Language() const { return m_language; }
  int ZoneIndex() const { return m_zoneIndex; }
  bool CorrectEnabled() const { return m_correctEnabled; }
  MyBitmapButton* Button(int id) const;
  MyBitmapProgress* Progress() const { return m_progress; }
  SignalArea* Signal() const { return m_signal; }
  AnalogClock* Clock() const { return m_analog; }
  DigitalClock& Engine() { return m_engine; }
  CalibrationRun& Run() { return m_run; }

  // CalibrationHost, called from the run's worker.
  void EnableActions(bool enable) override;
  void SetProgressRange(int lower, int upper) override;
  void SetProgressPos(int position) override;
  void SetProgressMode(int mode) override;
  bool RunPrompt(int language) override;
  void SetCorrection(const int64_t* correction) override;
  void StartClock() override;
  void StopClock() override;
  void SaveSettings(const SettingsRecord& record) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void LoadBackground(int id);
  void DrawStateLabel(bool calibrated);
  void ComposeDateBitmap();
  void PlaceControls();
  void Shutdown();
  void OnUiThread(const std::function<void()>& call);
  // A dialog's or a menu's own loop, counted: closing this window waits until it returned.
  template <typename Exec>
  auto NestedLoop(Exec exec) {
    ++m_nestedLoops;
    const auto result = exec();
    --m_nestedLoops;
    return result;
  }
  static constexpr int kNestedLoopRetry = 10;  // ms
  void PlaceHelp();

  MainWindowServices m_services;
  std::unique_ptr<SntpClient> m_ownSntp;
  std::atomic<bool> m_closing{false};
  int m_nestedLoops = 0;        // UI thread only
  bool m_transmitting = false;  // UI thread only: between the signal's start and its end

  QFont m_timeFont;
  QFont m_weekdayFont;
  QImage m_skin;        // the background as loaded
  QImage m_background;  // with the state label drawn in
  QImage m_weekdays;    // Chinese weekday frames
  QImage m_digits;      // the date digit strip
  QImage m_date;        // the composed date
  int m_dateWidth = 0;
  bool m_shaped = false;
  int m_language = -1;
  int m_zoneIndex = -1;
  bool m_firstApply = true;
  int m_labelFrame = -1;
  bool m_labelCalibrated = false;
  bool m_correctEnabled = false;
  int m_weekday = 0;
  QString m_timeText;
  QString m_dateText;
  QString m_weekdayText;
  QTimer m_hourly;

  MyBitmapButton* m_close;
  MyBitmapButton* m_setting;
  MyBitmapButton* m_minimise;
  MyBitmapButton* m_help;
  MyBitmapButton* m_update;
  MyBitmapButton* m_calibrate;
  MyBitmapProgress* m_progress;
  AnalogClock* m_analog;
  SignalArea* m_signal;

  std::unique_ptr<HelpDlg> m_helpDlg;
  std::unique_ptr<WndShadow> m_shadow;

  DigitalClock m_engine;
  CalibrationRun m_run;
};

}  // namespace vantorel
