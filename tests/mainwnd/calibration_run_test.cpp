#include "mainwnd/calibration_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <map>
#include <mutex>

#include "ntp/sntp_client.h"
#include "platform/network_state.h"
#include "support/fakes.h"
#include "support/recording_host.h"
#include "support/scripted_sntp.h"
#include "support/times.h"

namespace vantorel {
namespace {

using test::FixedNetwork;
using test::ScriptedSntp;

using test::RecordingHost;

struct Fixture {
  test::FixedClock clock{test::MakeFileTime(2026, 12, 9, 6, 0, 0)};
  test::FixedHostZone zone;
  FixedNetwork network;
  ScriptedSntp sntp;
  RecordingHost host;
  CalibrationRun run;
  explicit Fixture(int32_t bias = -480, bool connected = true)
      : zone(bias, ""), network(connected), run(host, sntp, network, clock, zone) {
    run.SetSleeper([](std::chrono::milliseconds) {});
  }
};

TEST(CalibrationRun, LocalZoneCodeTruncatesTheHours) {
  struct Case {
    int32_t bias;
    int code;
  };
  for (const Case& c :
       {Case{-480, 20}, Case{0, 12}, Case{300, 7}, Case{210, 9}, Case{-345, 17}, Case{-780, 25}}) {
    Fixture f(c.bias);
    EXPECT_EQ(f.run.LocalZoneCode(), c.code) << c.bias;
  }
}

TEST(CalibrationRun, PlausibleOffsetsKeepTheYearAt2012OrLater) {
  Fixture f;
  constexpr double kYear = 365.25 * 86400;
  struct Case {
    double seconds;
    bool plausible;
  };
  for (const Case& c :
       {Case{0.0, true}, Case{-0.3, true}, Case{-14 * kYear, true}, Case{-15 * kYear, false},
        Case{-3.9e9, false}, Case{1e300, false}, Case{std::nan(""), false}}) {
    EXPECT_EQ(f.run.IsPlausibleOffset(c.seconds), c.plausible) << c.seconds;
  }
}

TEST(ChooseServer, BuiltInListGoesRingByRingThenBackToTheNearest) {
  Fixture f(-480);  // zone code 20
  f.run.SetServers(BuiltInServers());
  // Distances from 20: 15 16 14 11 8 7 5 0 1 2 6 (list order).
  const int expected[] = {7, 8, 9, 6, 10, 5, 4, 3, 2, 0, 1, 7, 8};
  for (const int position : expected) {
    f.run.ChooseServer();
    EXPECT_EQ(f.run.Settings().nSelNTPServerIndex, position);
    EXPECT_EQ(f.run.CurrentServer(), kDefaultServers[static_cast<size_t>(position)].host);
  }
}

TEST(ChooseServer, EquallyNearServersGoInListOrder) {
  Fixture f(0);  // zone code 12
  f.run.SetServers({{12, "a"}, {20, "b"}, {4, "c"}, {12, "d"}});
  std::vector<std::string> order;
  for (int i = 0; i < 5; ++i) {
    f.run.ChooseServer();
    order.push_back(f.run.CurrentServer());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"a", "d", "b", "c", "a"}));
}

TEST(ChooseServer, UserListWrapsAndEmptyListsFallBack) {
  Fixture f;
  f.run.Settings().bDefualtServers = 0;
  f.run.SetServers({{0, "x"}, {0, "y"}, {0, "z"}});
  struct Case {
    int index;
    int next;
  };
  for (const Case& c : {Case{2, 0}, Case{-1, 0}, Case{0, 1}, Case{7, 0}}) {
    f.run.Settings().nSelNTPServerIndex = c.index;
    f.run.ChooseServer();
    EXPECT_EQ(f.run.Settings().nSelNTPServerIndex, c.next) << c.index;
  }
  for (const uint16_t builtIn : {0, 1}) {
    f.run.Settings().bDefualtServers = builtIn;
    f.run.SetServers({});
    f.run.ChooseServer();
    EXPECT_EQ(f.run.Settings().nSelNTPServerIndex, -1);
    EXPECT_EQ(f.run.CurrentServer(), kLastResortServer);
  }
}

TEST(SelectInitialServer, StoredPositionOrLastResort) {
  Fixture f;
  f.run.SetServers(BuiltInServers());
  f.run.Settings().nSelNTPServerIndex = 3;
  f.run.SelectInitialServer();
  EXPECT_EQ(f.run.CurrentServer(), kDefaultServers[3].host);
  for (const int bad : {11, -1, 500}) {
    f.run.Settings().nSelNTPServerIndex = bad;
    f.run.SelectInitialServer();
    EXPECT_EQ(f.run.Settings().nSelNTPServerIndex, -1);
    EXPECT_EQ(f.run.CurrentServer(), kLastResortServer);
  }
}

TEST(CalibrationRunFlow, TwelveOffsetsGiveTheirMean) {
  Fixture f;
  f.run.SetServers({{20, "near"}, {21, "next"}});
  auto& script = f.sntp.scripts["near"];
  script.push_back(-20.0 * 365.25 * 86400);  // implausible: ignored
  for (int i = 1; i <= 13; ++i) script.push_back(0.1 * i);
  const CalibrationOutcome outcome = f.run.Run();
  EXPECT_TRUE(outcome.calibrated);
  EXPECT_EQ(outcome.successes, 12);
  EXPECT_EQ(outcome.queries, 13);            // stops after the twelfth plausible one
  EXPECT_EQ(outcome.correction, 6'500'000);  // mean of 0.1 .. 1.2 s
  EXPECT_EQ(f.sntp.timeout, 1500u);
  EXPECT_EQ(f.sntp.lastPort, 123);
  EXPECT_EQ(f.host.Calls(), (std::vector<std::string>{"disable", "range 0-24", "correction 6500000",
                                                      "start clock", "enable", "save 0"}));
  EXPECT_EQ(f.host.lastPosition, 24);
  EXPECT_EQ(f.host.lastMode, BarMode::kNormal);
}

TEST(CalibrationRunFlow, FailingServersGetFiveTriesEachThenThePrompt) {
  for (const bool useLocalClock : {false, true}) {
    Fixture f;
    f.host.promptAnswer = useLocalClock;
    f.run.Settings().nSelLanguageIndex = 1;
    f.run.SetServers({{20, "a"}, {21, "b"}, {22, "c"}});
    const CalibrationOutcome outcome = f.run.Run();
    EXPECT_FALSE(outcome.calibrated);
    EXPECT_EQ(outcome.switches, 3);
    std::vector<std::string> expected;
    for (const char* server : {"a", "b", "c"}) expected.insert(expected.end(), 5, server);
    expected.push_back("a");  // the third switch comes round to the first again, then the run ends
    EXPECT_EQ(f.sntp.asked, expected);
    std::vector<std::string> calls = {"disable", "range 0-36", "prompt 1"};
    if (useLocalClock) {
      calls.insert(calls.end(), {"no correction", "start clock"});
    } else {
      calls.push_back("stop clock");
    }
    calls.insert(calls.end(), {"enable", "save 0"});
    EXPECT_EQ(f.host.Calls(), calls);
    EXPECT_EQ(f.host.lastMode, BarMode::kAlternative);
  }
}

TEST(CalibrationRunFlow, NoNetworkAsksNoServer) {
  Fixture f(-480, false);
  f.run.SetServers(BuiltInServers());
  const CalibrationOutcome outcome = f.run.Run();
  EXPECT_FALSE(outcome.calibrated);
  EXPECT_TRUE(f.sntp.asked.empty());
  EXPECT_EQ(f.host.Calls(), (std::vector<std::string>{"disable", "range 0-132", "prompt 0",
                                                      "stop clock", "enable", "save -1"}));
}

TEST(CalibrationRunFlow, OneRunAtATimeOnItsWorker) {
  Fixture f;
  f.run.SetServers({{20, "near"}});
  for (int i = 0; i < 12; ++i) f.sntp.scripts["near"].push_back(0.002);
  std::atomic<int> pauses{0};
  f.run.SetSleeper([&](std::chrono::milliseconds) {
    ++pauses;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  });
  ASSERT_TRUE(f.run.StartCalibration());
  EXPECT_FALSE(f.run.StartCalibration());
  f.run.Wait();
  EXPECT_FALSE(f.run.Running());
  EXPECT_TRUE(f.run.LastOutcome().calibrated);
  EXPECT_EQ(f.run.LastOutcome().correction, 20'000);
  EXPECT_EQ(pauses.load(), 11);
  ASSERT_TRUE(f.run.StartCalibration());  // a new run once the last has ended
  f.run.Wait();
  EXPECT_FALSE(f.run.LastOutcome().calibrated);  // the script is used up
}

TEST(CalibrationRunFlow, NoServerTextUsesTheFallbackServer) {
  Fixture f;
  f.run.Settings().bDefualtServers = 0;
  f.run.Settings().nSelNTPServerIndex = 0;
  f.run.SetServers({{0, "user.example"}});
  ASSERT_TRUE(f.run.CurrentServer().empty());
  ASSERT_TRUE(f.run.StartCalibration());
  f.run.Wait();
  ASSERT_FALSE(f.sntp.asked.empty());
  EXPECT_EQ(f.sntp.asked.front(), kFallbackServer);
}

TEST(ActionsAfter, CalibrateFollowsTheClock) {
  const auto off = ActionsAfter(false, true, true);
  EXPECT_FALSE(off.calibrate || off.correct || off.update);
  const auto running = ActionsAfter(true, true, false);
  EXPECT_TRUE(running.calibrate && running.correct && running.update);
  EXPECT_FALSE(ActionsAfter(true, false, false).calibrate);
  EXPECT_TRUE(ActionsAfter(true, false, true).calibrate);  // keeps its state
}

}  // namespace
}  // namespace vantorel
