#include "mainwnd/vantorel_dlg.h"

#include <gtest/gtest.h>

#include <atomic>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "clocks/signal_area.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_progress.h"
#include "controls/screen_fit.h"
#include "controls/skin_geometry.h"
#include "help/help_dlg.h"
#include "help/my_hyper_link.h"
#include "support/fakes.h"
#include "support/scripted_sntp.h"
#include "support/temp_dir.h"
#include "support/times.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;

// A window on fakes: a fixed clock, a host at UTC+8, a settings file of its own.
struct Window {
  test::TempDir dir;
  test::FixedClock clock{test::MakeFileTime(2026, 12, 9, 6, 0, 0)};
  test::FixedHostZone zone{-480, "China Standard Time"};
  test::FixedNetwork network;
  test::ScriptedSntp sntp;
  int prompts = 0;
  bool promptAnswer = false;
  std::function<bool()> promptDialog;  // set: the question is this, a dialog of its own
  std::unique_ptr<VantorelDlg> dlg;

  explicit Window(const std::string& settings = "[Vantorel]\nbWelcomeScreen=0\n",
                  bool connected = true)
      : network(connected) {
    test::WriteFile(dir.File("Setting.ini"), settings);
    MainWindowServices services;
    services.sntp = &sntp;
    services.network = &network;
    services.clock = &clock;
    services.hostZone = &zone;
    services.settingsFile = dir.File("Setting.ini");
    services.prompt = [this](Language) {
      ++prompts;
      return promptDialog ? promptDialog() : promptAnswer;
    };
    services.calibrateAtStart = false;
    dlg = std::make_unique<VantorelDlg>(services);
  }

  void Send(uint32_t message, const char* text, const platform::SystemTime* time = nullptr) {
    dlg->Controller().SendMessage(message, reinterpret_cast<uintptr_t>(text),
                                  reinterpret_cast<intptr_t>(time));
  }

  bool WaitForRun(std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (dlg->Run().Running() && std::chrono::steady_clock::now() < end) QTest::qWait(10);
    QTest::qWait(20);
    return !dlg->Run().Running();
  }
};

TEST(VantorelDlgMessages, PlaceholdersWhileTheEngineIsStopped) {
  Window w;
  const platform::SystemTime t = test::MakeTime(2026, 12, 9, 14, 0, 5);
  w.Send(kMsgClockTime, "14:00:05", &t);
  w.Send(kMsgClockDate, "2026-12-09");
  EXPECT_EQ(w.dlg->TimeText(), "--:--:--");
  EXPECT_EQ(w.dlg->DateText(), "----------");
  EXPECT_EQ(w.dlg->DateWidth(), 190);  // ten dashes of 19
  EXPECT_EQ(w.dlg->windowTitle(), "QUMRA");
  EXPECT_EQ(w.dlg->size(), QSize(640, 600));  // tall enough for the whole dial and signal area
}

TEST(VantorelDlgMessages, TextsWhileTheEngineRuns) {
  Window w;
  w.dlg->Engine().SetTarget(nullptr);  // this test speaks for the engine
  ASSERT_TRUE(w.dlg->Engine().Start());
  const platform::SystemTime t = test::MakeTime(2012, 2, 20, 14, 0, 5);
  w.Send(kMsgClockTime, "14:00:05", &t);
  w.Send(kMsgClockDate, "2012-02-20");
  EXPECT_EQ(w.dlg->TimeText(), "14:00:05");
  EXPECT_EQ(w.dlg->DateWidth(), 8 * 14 + 2 * 19);
  struct Case {
    uintptr_t index;
    const char* name;
  };
  for (const Case& c : {Case{0, "Sunday"}, Case{3, "Wednesday"}, Case{6, "Saturday"},
                        Case{7, "Sunday"}, Case{0x105, "Friday"}}) {
    w.dlg->Controller().SendMessage(kMsgClockWeekday, c.index, 0);
    EXPECT_EQ(w.dlg->WeekdayText(), c.name) << c.index;
  }
  w.dlg->Engine().Stop();
}

TEST(VantorelDlgMessages, StateLabelFollowsLanguageAndCorrection) {
  for (const int language : {0, 1, 2}) {
    Window w("[Vantorel]\nnSelLanguageIndex=" + std::to_string(language) + "\n");
    const int base = language == 1 ? 2 : 0;
    EXPECT_EQ(w.dlg->StateLabelFrame(), base) << language;
    const int64_t correction = 1234;
    w.dlg->Engine().SetCorrection(&correction);
    EXPECT_EQ(w.dlg->StateLabelFrame(), base + 1) << language;
    w.dlg->Engine().SetCorrection(nullptr);
    EXPECT_EQ(w.dlg->StateLabelFrame(), base) << language;
  }
}

TEST(VantorelDlgSettings, DaylightSavingAloneMovesTheShownTimeAnHour) {
  Window w("[Vantorel]\nnSelTimeZoneIndex=56\nbDST=0\n");
  EXPECT_EQ(w.dlg->ZoneIndex(), 56);
  const platform::FileTime before = w.dlg->Engine().CorrectedNow();
  test::WriteFile(w.dir.File("Setting.ini"), "[Vantorel]\nnSelTimeZoneIndex=56\nbDST=1\n");
  w.dlg->ApplySettings();
  EXPECT_EQ(w.dlg->Engine().CorrectedNow() - before,
            static_cast<uint64_t>(platform::kFileTimeUnitsPerMinute * 60));
  EXPECT_EQ(w.dlg->ShownLanguage(), Language::kEnglish);
}

TEST(VantorelDlgSettings, UserServerPositionPastTheEndIsReset) {
  Window w("[Vantorel]\nbDefualtServers=0\nstrServers=a;b;c\nnSelNTPServerIndex=5\n");
  EXPECT_EQ(w.dlg->Controller().Settings().nSelNTPServerIndex, -1);
  EXPECT_EQ(w.dlg->Controller().Servers().size(), 3u);
  Window unset("[Vantorel]\n");
  EXPECT_EQ(unset.dlg->ZoneIndex(), 56);  // matched to the host's zone
  EXPECT_EQ(unset.dlg->Controller().Servers().size(), kDefaultServerCount);
}

TEST(VantorelDlgRun, CalibratesSavesAndLetsReturnSendTheSignal) {
  Window w("[Vantorel]\nbDefualtServers=0\nstrServers=127.0.0.1\nnSelTimeZoneIndex=-1\n");
  for (int i = 0; i < 12; ++i) w.sntp.scripts["127.0.0.1"].push_back(0.25);
  w.sntp.onSend = [](size_t) { std::this_thread::sleep_for(10ms); };
  w.dlg->show();
  w.dlg->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.dlg.get()));
  w.dlg->OnUpdate();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return !w.dlg->Button(VantorelDlg::kIdUpdate)->isEnabled(); }, 1000));
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_TRUE(w.dlg->Run().LastOutcome().calibrated);
  EXPECT_EQ(w.dlg->Engine().Correction(), 2'500'000);
  EXPECT_EQ(w.dlg->StateLabelFrame(), 1);
  EXPECT_EQ(w.dlg->Progress()->Pos(), 12);
  EXPECT_TRUE(w.dlg->Button(VantorelDlg::kIdCalibrate)->isEnabled());
  EXPECT_TRUE(w.dlg->Button(VantorelDlg::kIdUpdate)->isEnabled());
  SettingsRecord saved;
  LoadSettings(&saved, w.dir.File("Setting.ini"));
  EXPECT_EQ(saved.nSelNTPServerIndex, 0);
  EXPECT_EQ(saved.nSelTimeZoneIndex, 56);

  QTest::keyClick(w.dlg.get(), Qt::Key_Return);
  EXPECT_TRUE(w.dlg->Signal()->Transmitter().Busy());
  EXPECT_FALSE(w.dlg->Button(VantorelDlg::kIdCalibrate)->isEnabled());
  EXPECT_FALSE(w.dlg->CorrectEnabled());
  w.dlg->OnCalibrate();  // disabled: nothing
  w.dlg->OnCorrect();
  const auto end = std::chrono::steady_clock::now() + 6s;
  while (w.dlg->Signal()->Transmitter().Busy() && std::chrono::steady_clock::now() < end)
    QTest::qWait(20);
  EXPECT_FALSE(w.dlg->Signal()->Transmitter().Busy());
  EXPECT_TRUE(w.dlg->Button(VantorelDlg::kIdCalibrate)->isEnabled());
  // Calibrated: the frame that went out has the flag clear.
  EXPECT_EQ(w.dlg->Signal()->Transmitter().Levels()[kTimeBlockFirstIndex + 33], 0);
}

TEST(VantorelDlgRun, FailedRunAsksAndFollowsTheAnswer) {
  for (const bool useLocalClock : {false, true}) {
    Window w("[Vantorel]\n", false);
    w.promptAnswer = useLocalClock;
    w.dlg->StartCalibration();
    ASSERT_TRUE(w.WaitForRun());
    EXPECT_EQ(w.prompts, 1);
    EXPECT_EQ((w.dlg->Engine().Flags() & DigitalClock::kRunning) != 0, useLocalClock);
    EXPECT_EQ(w.dlg->StateLabelFrame(), 0);
    EXPECT_TRUE(w.sntp.asked.empty());
    w.dlg->OnCorrect();  // the local clock without a correction
    EXPECT_TRUE(w.dlg->Signal()->Transmitter().Busy());
  }
}

// The hourly run may start while the signal flashes; the signal's end must not hand the
// actions back while the run still works (Update would then stop the clock for nothing).
TEST(VantorelDlgRun, ASignalEndingDuringARunLeavesTheActionsDisabled) {
  Window w("[Vantorel]\nbDefualtServers=0\nstrServers=silent\n");
  std::atomic<bool> release{false};
  w.sntp.onSend = [&](size_t) {
    while (!release) std::this_thread::sleep_for(5ms);
  };
  w.dlg->OnCorrect();  // the signal starts first
  ASSERT_TRUE(w.dlg->Signal()->Transmitter().Busy());
  w.dlg->StartCalibration();  // as the hourly timer does
  ASSERT_TRUE(w.dlg->Run().Running());
  const auto end = std::chrono::steady_clock::now() + 6s;
  while (w.dlg->Signal()->Transmitter().Busy() && std::chrono::steady_clock::now() < end)
    QTest::qWait(20);
  ASSERT_FALSE(w.dlg->Signal()->Transmitter().Busy());
  QTest::qWait(50);
  EXPECT_TRUE(w.dlg->Run().Running());
  EXPECT_FALSE(w.dlg->Button(VantorelDlg::kIdUpdate)->isEnabled());
  EXPECT_FALSE(w.dlg->Button(VantorelDlg::kIdCalibrate)->isEnabled());
  EXPECT_FALSE(w.dlg->CorrectEnabled());
  w.dlg->Run().Cancel();
  release = true;
  ASSERT_TRUE(w.WaitForRun());
}

TEST(VantorelDlgHelp, QuestionMarkTogglesTheHelpBesideTheWindow) {
  Window w;
  w.dlg->show();
  // Docked by the rule for the screen the window is on, wherever the window goes.
  auto docked = [&] {
    const QRect main = w.dlg->frameGeometry();
    const QRect area = AvailableAreaFor(w.dlg.get());
    const ScreenRect place = HelpDock({main.x(), main.y(), main.width(), main.height()}, 593, 630,
                                      {area.x(), area.y(), area.width(), area.height()});
    return QPoint(place.x, place.y);
  };
  w.dlg->OnHelp();
  HelpDlg* help = w.dlg->Help();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->parentWidget(), w.dlg.get());  // owned: it takes clicks while the window is modal
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->pos(), docked());
  w.dlg->OnHelp();
  EXPECT_FALSE(help->isVisible());
  w.dlg->move(w.dlg->pos() + QPoint(30, 20));
  w.dlg->OnHelp();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->pos(), docked());
  w.dlg->move(w.dlg->pos() + QPoint(-10, 5));  // a shown help window moves along
  EXPECT_EQ(help->pos(), docked());

  QTest::mouseClick(help->CloseButton(), Qt::LeftButton);  // X hides it
  EXPECT_FALSE(help->isVisible());
  EXPECT_FALSE(help->Shown());
  w.dlg->OnHelp();
  EXPECT_TRUE(help->isVisible());
  EXPECT_FALSE(help->Link()->isVisible());

  test::WriteFile(w.dir.File("Setting.ini"), "[Vantorel]\nnSelLanguageIndex=1\n");
  w.dlg->ApplySettings();
  EXPECT_EQ(help->ShownLanguage(), Language::kChinese);
  EXPECT_EQ(help->ShapeCuts(), 1);

  w.dlg->OnHelp();  // hidden now; it stays hidden across minimise and restore
  w.dlg->showMinimized();
  w.dlg->showNormal();
  QApplication::processEvents();
  EXPECT_FALSE(help->isVisible());
}

TEST(VantorelDlgRun, ClosingDuringARunEndsPromptly) {
  Window w("[Vantorel]\nbDefualtServers=0\nstrServers=slow\n");
  w.sntp.silent.insert("slow");  // the run waits on a server that never answers
  w.dlg->StartCalibration();
  QTest::qWait(150);
  ASSERT_TRUE(w.dlg->Run().Running());
  const auto start = std::chrono::steady_clock::now();
  w.dlg->reject();
  w.dlg.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(VantorelDlgRun, ClosingWhileThePromptIsOpenClosesThePromptFirst) {
  Window w("[Vantorel]\n", false);  // no network: the run fails at once and asks
  bool open = false;
  std::chrono::steady_clock::time_point closed;
  w.promptDialog = [&] {
    QDialog prompt(w.dlg.get());
    // The close comes while the prompt's own loop runs, as a termination signal's would.
    QTimer::singleShot(50, w.dlg.get(), [&] {
      closed = std::chrono::steady_clock::now();
      w.dlg->reject();
    });
    open = true;
    const bool answer = prompt.exec() == QDialog::Accepted;
    open = false;
    return answer;
  };
  w.dlg->show();
  w.dlg->StartCalibration();
  for (int i = 0; i < 300 && (w.prompts == 0 || w.dlg->isVisible()); ++i) QTest::qWait(10);
  EXPECT_EQ(w.prompts, 1);
  EXPECT_FALSE(open);
  EXPECT_FALSE(w.dlg->isVisible());
  EXPECT_LT(std::chrono::steady_clock::now() - closed, 1s);
  EXPECT_TRUE(w.WaitForRun(1s));
  w.dlg.reset();
}

}  // namespace
}  // namespace vantorel
