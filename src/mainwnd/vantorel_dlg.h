#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "controls/readable_text.h"
#include "mainwnd/clock_controller.h"
#include "mainwnd/clock_view.h"

namespace vantorel {

class AnalogClock;
class HelpDlg;
class MyBitmapButton;
class WndShadow;
class MyBitmapProgress;
class SignalArea;

// Where the main window gets its services; tests replace them.
struct MainWindowServices : ControllerServices {
  // The question after a failed run; null: the prompt dialog.
  std::function<bool(Language language)> prompt;
  bool calibrateAtStart = true;
};

// The hourly schedule on the window's own timer, so the runs it starts begin on the window's
// thread as the buttons' do.
class TimerSchedule final : public HourlySchedule {
 public:
  TimerSchedule();
  void Start(std::chrono::milliseconds period, std::function<void()> due) override;
  void Stop() override { m_timer.stop(); }

 private:
  QTimer m_timer;
  std::function<void()> m_due;
};

// The main window: the skinned face, a view over the controller that owns the clock, the
// runs and the settings; the help window, the shadow and the dialogs.
class VantorelDlg : public QDialog, public ClockView {
 public:
  static constexpr int kIdClose = 2;
  static constexpr int kIdSetting = 1001;
  static constexpr int kIdUpdate = 1002;
  static constexpr int kIdCalibrate = 1004;
  static constexpr int kIdMinimise = 1006;
  static constexpr int kIdHelp = 1013;

  explicit VantorelDlg(MainWindowServices services = {}, QWidget* parent = nullptr);
  ~VantorelDlg() override;

  // The buttons' and keys' actions, as the controller takes them.
  void ApplySettings() { m_controller.ApplySettings(); }
  void StartCalibration() { m_controller.StartCalibration(); }
  void OnUpdate() { m_controller.Update(); }
  void OnCalibrate() { m_controller.Calibrate(); }
  void OnCorrect() { m_controller.Correct(); }
  // The "?" button: creates the help window the first time, then shows and hides it.
  void OnHelp();
  HelpDlg* Help() const { return m_helpDlg.get(); }
  WndShadow* Shadow() const { return m_shadow.get(); }
  // Close, Escape: ends every worker, then the window.
  void reject() override;

  // What the window shows, for tests.
  const QString& TimeText() const { return m_timeText; }
  const QString& DateText() const { return m_dateText; }
  QString WeekdayText() const;
  int DateWidth() const { return m_dateWidth; }
  int StateLabelFrame() const { return m_labelFrame; }
  Language ShownLanguage() const { return m_language; }
  int ZoneIndex() const { return m_controller.ZoneIndex(); }
  bool CorrectEnabled() const { return m_correctEnabled; }
  MyBitmapButton* Button(int id) const;
  MyBitmapProgress* Progress() const { return m_progress; }
  SignalArea* Signal() const { return m_signal; }
  AnalogClock* Clock() const { return m_analog; }
  ClockController& Controller() { return m_controller; }
  DigitalClock& Engine() { return m_controller.Engine(); }
  CalibrationRun& Run() { return m_controller.Run(); }

  // ClockView: from any thread, each run on the window's thread.
  void ShowLanguage(Language language) override;
  void ShowTime(std::string_view text, const platform::SystemTime* hands) override;
  void ShowDate(std::string_view text) override;
  void ShowWeekday(std::optional<int> weekday) override;
  void ShowCalibrated(bool calibrated) override;
  void SetProgressRange(int lower, int upper) override;
  void SetProgressPos(int position) override;
  void SetProgressMode(BarMode mode) override;
  void ShowActions(const ActionStates& states) override;
  void ShowTransmitting(bool transmitting) override;
  bool AskUseComputerClock(Language language) override;
  void OnViewThread(const std::function<void()>& call) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyLanguage(Language language);
  void GiveWords();
  void ShowWords();
  void ShowStateWords();
  void ShowWeekdayWords();
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
  std::atomic<bool> m_closing{false};
  int m_nestedLoops = 0;  // UI thread only

  QFont m_timeFont;
  QFont m_weekdayFont;
  QImage m_skin;        // the background as loaded, its corners transparent
  QImage m_background;  // with the state label drawn in
  QImage m_weekdays;    // Chinese weekday frames
  QImage m_digits;      // the date digit strip
  QImage m_date;        // the composed date
  int m_dateWidth = 0;
  bool m_shaped = false;
  Language m_language = Language::kEnglish;
  int m_labelFrame = -1;
  bool m_labelCalibrated = false;
  bool m_correctEnabled = false;
  int m_weekday = 0;
  bool m_weekdayShown = false;
  QString m_timeText;
  QString m_dateText;

  WindowWords m_words;
  ReadableText* m_timeReadable = nullptr;
  ReadableText* m_dateReadable = nullptr;
  ReadableText* m_weekdayReadable = nullptr;
  ReadableText* m_stateReadable = nullptr;
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

  TimerSchedule m_schedule;
  ClockController m_controller;  // last: it goes first, before anything it shows
};

}  // namespace vantorel
