#include "mainwnd/clock_controller.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "support/fakes.h"
#include "support/scripted_sntp.h"
#include "support/temp_dir.h"
#include "support/times.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;

// A view that writes down what it was shown; calls come from any thread.
class RecordingView final : public ClockView {
 public:
  void ShowLanguage(Language language) override {
    Locked([&] { languages.push_back(language); });
  }
  void ShowTime(std::string_view text, const platform::SystemTime* hands) override {
    Locked([&] {
      time = text;
      handsMoving = hands != nullptr;
    });
  }
  void ShowDate(std::string_view text) override {
    Locked([&] { date = text; });
  }
  void ShowWeekday(std::optional<int> shown) override {
    Locked([&] { weekday = shown; });
  }
  void ShowCalibrated(bool shown) override {
    Locked([&] { calibrated = shown; });
  }
  void SetProgressRange(int, int) override {}
  void SetProgressPos(int) override {}
  void SetProgressMode(BarMode) override {}
  void ShowActions(const ActionStates& states) override {
    Locked([&] { actions = states; });
  }
  bool AskUseComputerClock(Language language) override {
    Locked([&] { asked.push_back(language); });
    return false;
  }

  template <typename Read>
  auto Get(Read read) {
    std::lock_guard guard(m_mutex);
    return read();
  }

  std::vector<Language> languages;
  std::string time;
  bool handsMoving = false;
  std::string date;
  std::optional<int> weekday;
  std::optional<bool> calibrated;
  std::optional<ActionStates> actions;
  std::vector<Language> asked;

 private:
  template <typename Change>
  void Locked(Change change) {
    std::lock_guard guard(m_mutex);
    change();
  }
  std::mutex m_mutex;
};

class ManualSchedule final : public HourlySchedule {
 public:
  void Start(std::chrono::milliseconds every, std::function<void()> call) override {
    period = every;
    due = std::move(call);
  }
  void Stop() override { due = nullptr; }
  std::chrono::milliseconds period{0};
  std::function<void()> due;
};

struct Fixture {
  test::TempDir dir;
  test::FixedClock clock{test::MakeFileTime(2026, 12, 9, 6, 0, 0)};
  test::FixedHostZone zone{-480, "China Standard Time"};
  test::FixedNetwork network{true};
  test::ScriptedSntp sntp;
  RecordingView view;
  ManualSchedule schedule;
  std::unique_ptr<ClockController> controller;

  explicit Fixture(const std::string& settings) {
    test::WriteFile(dir.File("Setting.ini"), settings);
    ControllerServices services;
    services.sntp = &sntp;
    services.network = &network;
    services.clock = &clock;
    services.hostZone = &zone;
    services.settingsFile = dir.File("Setting.ini");
    controller = std::make_unique<ClockController>(view, schedule, services);
    controller->ApplySettings();
    controller->Start(false);
  }
  bool WaitForRun() {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (controller->Run().Running() && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(5ms);
    }
    controller->Run().Wait();
    return !controller->Run().Running();
  }
};

std::string ServerNames(int count) {
  std::string names;
  for (int i = 1; i <= count; ++i) names += (i > 1 ? ";s" : "s") + std::to_string(i);
  return names;
}

// The settings dialog's OK while a run switches through 29 silent servers: the run goes on
// with what it started from, the window turns Chinese at once, and the file ends with both.
TEST(ClockController, SettingsAppliedDuringARunStayApartFromIt) {
  Fixture f("[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=" + ServerNames(30) +
            "\n");
  for (int i = 0; i < CalibrationRun::kOffsetsPerRun; ++i) f.sntp.scripts["s30"].push_back(0.5);
  // The run waits at its 20th pause until the dialog's answers are in, then goes on while
  // they keep being applied.
  std::atomic<int> pauses{0};
  std::atomic<bool> answered{false};
  f.controller->Run().SetSleeper([&](std::chrono::milliseconds) {
    if (++pauses == 20) {
      while (!answered) std::this_thread::sleep_for(100us);
    }
    std::this_thread::sleep_for(100us);
  });
  f.controller->StartCalibration();
  ASSERT_TRUE(f.controller->Run().Running());
  while (pauses < 20) std::this_thread::sleep_for(100us);

  // What the dialog does on OK: its answers into the file, then the controller takes them.
  SettingsRecord answers;
  LoadSettings(&answers, f.dir.File("Setting.ini"));
  answers.nSelLanguageIndex = 1;
  answers.nSelTimeZoneIndex = 30;
  answers.bTimeZoneUnset = 0;
  answers.bDST = 1;
  ASSERT_TRUE(SaveSettings(&answers, false, f.dir.File("Setting.ini")));
  f.controller->ApplySettings();
  answered = true;
  for (int i = 0; i < 50 && f.controller->Run().Running(); ++i) f.controller->ApplySettings();
  EXPECT_EQ(f.view.Get([&] { return f.view.languages.back(); }), Language::kChinese);
  EXPECT_EQ(f.controller->ZoneIndex(), 30);

  ASSERT_TRUE(f.WaitForRun());
  EXPECT_TRUE(f.controller->Run().LastOutcome().calibrated);
  EXPECT_EQ(f.controller->Run().LastOutcome().switches, 29);
  SettingsRecord saved;
  LoadSettings(&saved, f.dir.File("Setting.ini"));
  EXPECT_EQ(saved.nSelLanguageIndex, 1);
  EXPECT_EQ(saved.nSelTimeZoneIndex, 30);
  EXPECT_EQ(saved.bDST, 1);
  EXPECT_EQ(saved.nSelNTPServerIndex, 29);
  EXPECT_EQ(f.controller->Settings().nSelNTPServerIndex, 29);
}

// The hourly run is the schedule's; while one runs the next is skipped, and a failed run asks
// in the language shown now.
TEST(ClockController, HourlyRunsOneAtATimeAndAskInTheShownLanguage) {
  Fixture f("[Vantorel]\nbDefualtServers=0\nstrServers=slow\n");
  EXPECT_EQ(f.schedule.period, 1h);
  f.sntp.silent.insert("slow");
  f.sntp.silence = 100ms;
  f.controller->Run().SetSleeper([](std::chrono::milliseconds) {});
  ASSERT_TRUE(f.schedule.due);
  f.schedule.due();
  ASSERT_TRUE(f.controller->Run().Running());
  f.schedule.due();  // skipped: the first still waits on its server
  test::WriteFile(f.dir.File("Setting.ini"),
                  "[Vantorel]\nnSelLanguageIndex=1\nbDefualtServers=0\nstrServers=slow\n");
  f.controller->ApplySettings();
  ASSERT_TRUE(f.WaitForRun());
  // Five failures, then the switch comes back to the only server and asks once more.
  EXPECT_EQ(f.sntp.asked.size(), static_cast<size_t>(CalibrationRun::kFailuresPerServer + 1));
  EXPECT_EQ(f.view.Get([&] { return f.view.asked; }), std::vector<Language>{Language::kChinese});
  EXPECT_EQ(f.view.Get([&] { return f.view.actions->update; }), true);
}

// What the engine's messages show: the texts only while the clock runs, the weekday folded
// into the week, the state label after the correction.
TEST(ClockController, ClockMessagesBecomeWhatTheViewShows) {
  Fixture f("[Vantorel]\n");
  const platform::SystemTime t = test::MakeTime(2026, 12, 9, 14, 0, 5);
  const auto send = [&](uint32_t message, uintptr_t w, const platform::SystemTime* l = nullptr) {
    f.controller->SendMessage(message, w, reinterpret_cast<intptr_t>(l));
  };
  const auto text = [](const char* s) { return reinterpret_cast<uintptr_t>(s); };
  struct Case {
    bool running;
    uintptr_t weekday;
    const char* time;
    const char* date;
    std::optional<int> shownWeekday;
  };
  for (const Case& c :
       {Case{false, 3, "--:--:--", "----------", std::nullopt},
        Case{true, 3, "14:00:05", "2026-12-09", 3}, Case{true, 7, "14:00:05", "2026-12-09", 0},
        Case{true, 0x105, "14:00:05", "2026-12-09", 5}}) {
    f.controller->Engine().SetTarget(nullptr);  // this test speaks for the engine
    if (c.running) {
      ASSERT_TRUE(f.controller->Engine().Start());
    }
    send(kMsgClockTime, text("14:00:05"), &t);
    send(kMsgClockDate, text("2026-12-09"));
    send(kMsgClockWeekday, c.weekday);
    f.view.Get([&] {
      EXPECT_EQ(f.view.time, c.time) << c.running;
      EXPECT_EQ(f.view.handsMoving, c.running);
      EXPECT_EQ(f.view.date, c.date);
      EXPECT_EQ(f.view.weekday, c.shownWeekday) << c.weekday;
      return 0;
    });
    f.controller->Engine().Stop();
  }
  const int64_t correction = 1234;
  f.controller->Engine().SetTarget(f.controller.get());
  f.controller->Engine().SetCorrection(&correction);
  EXPECT_EQ(f.view.Get([&] { return f.view.calibrated; }), true);
  f.controller->Engine().SetCorrection(nullptr);
  EXPECT_EQ(f.view.Get([&] { return f.view.calibrated; }), false);
}

}  // namespace
}  // namespace vantorel
