#include "mainwnd/clock_controller.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/file_ops.h"

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
  // The test's thread is the view's. With `hold` set, a call from any other thread waits in
  // a queue until the test runs it, as a message does while the window's thread is busy.
  void OnViewThread(const std::function<void()>& call) override {
    std::unique_lock guard(m_mutex);
    if (std::this_thread::get_id() == m_viewThread || !hold) {
      guard.unlock();
      call();
      return;
    }
    bool done = false;
    m_held.push_back([&] {
      call();
      std::lock_guard lock(m_mutex);
      done = true;
      m_changed.notify_all();
    });
    m_changed.notify_all();
    m_changed.wait(guard, [&] { return done; });
  }
  // Waits for a call to be held.
  bool WaitHeld() {
    std::unique_lock guard(m_mutex);
    return m_changed.wait_for(guard, 5s, [&] { return !m_held.empty(); });
  }
  // Waits for a held call and runs it here.
  bool RunHeld() {
    std::unique_lock guard(m_mutex);
    if (!m_changed.wait_for(guard, 5s, [&] { return !m_held.empty(); })) return false;
    auto call = std::move(m_held.front());
    m_held.pop_front();
    guard.unlock();
    call();
    return true;
  }
  bool hold = false;

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
  std::condition_variable m_changed;
  std::deque<std::function<void()>> m_held;
  const std::thread::id m_viewThread = std::this_thread::get_id();
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

// The settings dialog's OK while a run asks 29 refusing servers: the run goes on
// with what it started from, the window turns Chinese at once, and the file ends with both.
TEST(ClockController, SettingsAppliedDuringARunStayApartFromIt) {
  Fixture f("[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=" + ServerNames(30) +
            "\n");
  for (int i = 0; i < CalibrationRun::kOffsetsPerRun; ++i) f.sntp.scripts["s30"].push_back(0.5);
  // The run waits at its 20th request until the dialog's answers are in, then goes on while
  // they keep being applied.
  std::atomic<size_t> requests{0};
  std::atomic<bool> answered{false};
  f.sntp.onSend = [&](size_t count) {
    requests = count;
    if (count == 20) {
      while (!answered) std::this_thread::sleep_for(100us);
    }
    std::this_thread::sleep_for(100us);
  };
  f.controller->StartCalibration();
  ASSERT_TRUE(f.controller->Run().Running());
  while (requests < 20) std::this_thread::sleep_for(100us);

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
  EXPECT_EQ(f.controller->Run().LastOutcome().addresses, 30);
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
  ASSERT_TRUE(f.schedule.due);
  f.schedule.due();
  ASSERT_TRUE(f.controller->Run().Running());
  f.schedule.due();  // skipped: the first still waits on its server
  test::WriteFile(f.dir.File("Setting.ini"),
                  "[Vantorel]\nnSelLanguageIndex=1\nbDefualtServers=0\nstrServers=slow\n");
  f.controller->ApplySettings();
  ASSERT_TRUE(f.WaitForRun());
  // Five failures leave the only server, and the run with it.
  EXPECT_EQ(f.sntp.asked.size(), static_cast<size_t>(CalibrationRun::kFailuresPerServer));
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

// A tick that took the clock for running waits for the view's thread while Update stops the
// clock there: when it is handled, the clock no longer runs, and the placeholders stay.
TEST(ClockController, ATickHeldWhileUpdateStopsTheClockShowsThePlaceholders) {
  Fixture f("[Vantorel]\n");
  f.controller->Engine().SetTarget(nullptr);  // this test speaks for the engine
  ASSERT_TRUE(f.controller->Engine().Start());
  f.view.hold = true;
  const platform::SystemTime t = test::MakeTime(2026, 12, 9, 14, 0, 5);
  std::thread tick([&] {
    f.controller->SendMessage(kMsgClockTime, reinterpret_cast<uintptr_t>("14:00:05"),
                              reinterpret_cast<intptr_t>(&t));
  });
  ASSERT_TRUE(f.view.WaitHeld());
  f.controller->Engine().Stop();  // what Update does, on the view's thread
  ASSERT_TRUE(f.view.RunHeld());
  tick.join();
  f.view.Get([&] {
    EXPECT_EQ(f.view.time, DigitalClock::kTimePlaceholder);
    EXPECT_FALSE(f.view.handsMoving);
    return 0;
  });
}

// A transmission that ends while a run saves its settings, after the run handed the actions
// back (kept, as the signal still flashed) and before its thread has ended: the actions come
// back with the signal's end.
TEST(ClockController, ASignalEndingWhileARunSavesGivesTheActionsBack) {
  Fixture f("[Vantorel]\nbDefualtServers=0\nstrServers=s\n");
  for (int i = 0; i < CalibrationRun::kOffsetsPerRun; ++i) f.sntp.scripts["s"].push_back(0.5);
  std::atomic<bool> release{false};
  f.sntp.onSend = [&](size_t) {
    while (!release) std::this_thread::sleep_for(1ms);
  };
  f.controller->StartCalibration();
  f.controller->SendMessage(kMsgSignalStarted, 0, 0);
  std::optional<platform::file_ops::FolderLock> held;
  held.emplace(f.dir.File("Setting.ini"), true);  // the run's save waits for the folder
  release = true;
  std::this_thread::sleep_for(200ms);  // the run has handed the actions back and waits to save
  EXPECT_TRUE(f.controller->Run().Running());
  std::thread signalEnd([&] { f.controller->SendMessage(kMsgSignalFinished, 0, 0); });
  std::this_thread::sleep_for(50ms);
  held.reset();
  signalEnd.join();
  ASSERT_TRUE(f.WaitForRun());
  const ActionStates actions = f.controller->Actions();
  EXPECT_TRUE(actions.update);
  EXPECT_TRUE(actions.correct);
  EXPECT_TRUE(actions.calibrate);
}

}  // namespace
}  // namespace vantorel
