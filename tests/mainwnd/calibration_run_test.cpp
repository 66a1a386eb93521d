#include "mainwnd/calibration_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "ntp/ntp_packet.h"
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
      : zone(bias, ""), network(connected), run(host, sntp, network, clock, zone) {}
  // A user list of these names, from its first.
  void UserList(std::vector<std::string> hosts) {
    std::vector<ServerEntry> list;
    for (std::string& host : hosts) list.push_back({0, std::move(host)});
    run.Settings().bDefualtServers = 0;
    run.Settings().nSelNTPServerIndex = -1;
    run.SetServers(std::move(list));
  }
  std::chrono::milliseconds Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(sntp.Now() - ScriptedSntp::kStart);
  }
};

using namespace std::chrono_literals;
using Answer = ScriptedSntp::Answer;
using TimePoint = SntpExchange::TimePoint;

// The servers public services run, as the fake plays them.
const ScriptedSntp::Behaviour kLenient = [](TimePoint, const std::vector<TimePoint>&) {
  return Answer{0.5};
};
ScriptedSntp::Behaviour Kiss(uint32_t code) {
  return [code](TimePoint, const std::vector<TimePoint>&) { return Answer{std::nullopt, code}; };
}
// Classic ntpd's guard: RATE to a client asking again within 2 s.
const ScriptedSntp::Behaviour kRateWithin2s = [](TimePoint at, const std::vector<TimePoint>& e) {
  if (!e.empty() && at - e.back() < 2s) return Answer{std::nullopt, kNtpErrorKissRate};
  return Answer{0.5};
};
// A national service's rule: nothing for a client asking again within 4 s.
const ScriptedSntp::Behaviour kDropWithin4s = [](TimePoint at, const std::vector<TimePoint>& e) {
  if (!e.empty() && at - e.back() < 4s) return Answer{std::nullopt, platform::kErrorTimedOut};
  return Answer{0.5};
};

// The smallest gap between two requests to any one address, over everything sent.
std::chrono::milliseconds SmallestGap(const ScriptedSntp& sntp) {
  std::chrono::milliseconds smallest = 24h;
  for (const std::string& label : std::set<std::string>(sntp.asked.begin(), sntp.asked.end())) {
    const auto times = sntp.ArrivalsAt(label);
    for (size_t i = 1; i < times.size(); ++i)
      smallest = std::min(smallest, times[i] - times[i - 1]);
  }
  return smallest;
}

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
  // "next" refuses and is left; "near" stops after its twelfth plausible answer.
  EXPECT_EQ(outcome.queries, 13 + 1);
  EXPECT_EQ(outcome.correction, 6'500'000);  // mean of 0.1 .. 1.2 s
  EXPECT_EQ(f.sntp.timeout, 1500u);
  EXPECT_EQ(f.sntp.lastPort, 123);
  EXPECT_EQ(f.host.Calls(), (std::vector<std::string>{"disable", "range 0-24", "correction 6500000",
                                                      "start clock", "enable", "save 0"}));
  EXPECT_EQ(f.host.lastPosition, 24);
  EXPECT_EQ(f.host.lastMode, BarMode::kNormal);
}

// Whole runs against servers that limit their clients: every address of a name is asked, as
// many at once as offsets are missing, none twice within the spacing.
TEST(CalibrationRunFlow, PoliteToEveryKindOfServerAndStillCalibrates) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, ScriptedSntp::Behaviour>> addresses;  // of one name
    std::chrono::milliseconds longest;                                       // simulated
    int queries;
  };
  const auto many = [](int count, const ScriptedSntp::Behaviour& kind) {
    std::vector<std::pair<std::string, ScriptedSntp::Behaviour>> out;
    for (int i = 0; i < count; ++i) out.emplace_back("a" + std::to_string(i), kind);
    return out;
  };
  auto mixed = many(12, kDropWithin4s);
  mixed.insert(mixed.begin(), {"rate", Kiss(kNtpErrorKissRate)});
  mixed.insert(mixed.begin(), {"silent", Kiss(platform::kErrorTimedOut)});
  const Case cases[] = {
      {"twelve lenient addresses: all at once", many(16, kLenient), 10ms, 12},
      {"twelve guarded addresses", many(12, kRateWithin2s), 10ms, 12},
      {"one address: twelve requests 4 s apart", many(1, kDropWithin4s), 45s, 12},
      {"a silent and a RATE address go, the next ones stand in", mixed, 1500ms + 10ms, 14},
      {"three addresses that drop within 4 s", many(3, kDropWithin4s), 12s + 200ms, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    f.UserList({"pool"});
    for (const auto& [label, behaviour] : c.addresses) {
      f.sntp.names["pool"].push_back(label);
      f.sntp.behaviours[label] = behaviour;
    }
    const CalibrationOutcome outcome = f.run.Run();
    EXPECT_TRUE(outcome.calibrated);
    EXPECT_EQ(outcome.correction, 5'000'000);
    EXPECT_EQ(outcome.queries, c.queries);
    EXPECT_LE(f.Elapsed(), c.longest);
    EXPECT_GE(SmallestGap(f.sntp), AddressPacing::kSpacing);
    EXPECT_EQ(f.host.positions.back(), 12);
    EXPECT_TRUE(std::is_sorted(f.host.positions.begin(), f.host.positions.end()));
  }
}

// The spacing holds across runs (Update again, the hourly run), and each kiss code keeps its
// address away for as long as it asks. Runs follow each other a second apart for half a minute.
TEST(CalibrationRunFlow, SpacingAndKissCodesHoldAcrossRuns) {
  struct Case {
    const char* what;
    uint32_t kiss;                                // of the first address; 0: it answers
    std::vector<std::chrono::milliseconds> gaps;  // between its requests, the first few
    bool more;                                    // whether more follow
  };
  const Case cases[] = {
      {"answers", 0, {4s, 4s, 4s, 4s, 4s, 4s}, true},
      // After a RATE: twice the spacing, doubling; runs meanwhile go on without it.
      {"RATE", kNtpErrorKissRate, {8s, 16s}, false},
      // DENY and RSTR: never again while the list stays.
      {"DENY", kNtpErrorKissDeny, {}, false},
      // Any other code: left for that run only; each run then waits out the spacing on the
      // others for its twelfth offset, and the next asks it again.
      {"another code", kNtpErrorKissOfDeath, {5s, 5s, 5s, 5s}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    f.UserList({"first", "pool"});
    f.sntp.behaviours["first"] = c.kiss ? Kiss(c.kiss) : kLenient;
    for (int i = 0; i < 11; ++i) {
      f.sntp.names["pool"].push_back("p" + std::to_string(i));
      f.sntp.behaviours["p" + std::to_string(i)] = kLenient;
    }
    while (f.Elapsed() < 30s) {
      EXPECT_TRUE(f.run.Run().calibrated);
      f.sntp.Advance(1s);
    }
    const auto asked = f.sntp.ArrivalsAt("first");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), 0ms);
    if (c.more) {
      EXPECT_GT(asked.size(), c.gaps.size() + 1);
    } else {
      EXPECT_EQ(asked.size(), c.gaps.size() + 1);
    }
    for (size_t i = 0; i + 1 < asked.size() && i < c.gaps.size(); ++i) {
      EXPECT_GE(asked[i + 1] - asked[i], c.gaps[i]) << i;
      EXPECT_LT(asked[i + 1] - asked[i], c.gaps[i] + 2s) << i;
    }
    EXPECT_GE(SmallestGap(f.sntp), AddressPacing::kSpacing);
  }
}

TEST(CalibrationRunFlow, ARefusalEndsWhenTheListChanges) {
  Fixture f;
  f.UserList({"denies", "spare"});
  f.sntp.behaviours["denies"] = Kiss(kNtpErrorKissDeny);
  f.sntp.behaviours["spare"] = kLenient;
  f.run.Run();
  f.sntp.Advance(1h);
  f.run.Run();
  EXPECT_EQ(f.sntp.ArrivalsAt("denies").size(), 1u);
  f.UserList({"denies"});
  f.run.Run();
  EXPECT_EQ(f.sntp.ArrivalsAt("denies").size(), 2u);
}

// The nearest ring's names are asked first, each for all its addresses; farther rings only
// when the nearer give too few.
TEST(CalibrationRunFlow, AsksTheNearestRingFirstInParallel) {
  Fixture f(-480);  // zone code 20
  f.run.SetServers({{14, "far"}, {20, "near1"}, {21, "ring1"}, {20, "near2"}});
  for (const char* name : {"far", "near1", "ring1", "near2"}) {
    for (int i = 0; i < 4; ++i) {
      const std::string label = std::string(name) + std::to_string(i);
      f.sntp.names[name].push_back(label);
      f.sntp.behaviours[label] = kLenient;
    }
  }
  const CalibrationOutcome outcome = f.run.Run();
  EXPECT_TRUE(outcome.calibrated);
  EXPECT_EQ(f.sntp.resolved, (std::vector<std::string>{"near1", "near2", "ring1"}));
  EXPECT_EQ(outcome.addresses, 12);
  EXPECT_LT(f.Elapsed(), 10ms);
  EXPECT_EQ(f.host.Calls().back(), "save 1");
}

TEST(CalibrationRunFlow, NobodyAnsweringFailsInBoundedTime) {
  for (const bool useLocalClock : {false, true}) {
    Fixture f;
    f.host.promptAnswer = useLocalClock;
    f.run.Settings().nSelLanguageIndex = 1;
    f.run.SetServers({{20, "a"}, {21, "b"}, {22, "c"}});
    f.sntp.names["a"] = {"a0", "a1"};
    f.sntp.behaviours["a0"] = Kiss(platform::kErrorTimedOut);
    const CalibrationOutcome outcome = f.run.Run();
    EXPECT_FALSE(outcome.calibrated);
    // The refusing addresses once, the silent one five times, the spacing between them.
    EXPECT_EQ(outcome.queries, 3 + CalibrationRun::kFailuresPerServer);
    EXPECT_LE(f.Elapsed(), 5 * AddressPacing::kSpacing);
    std::vector<std::string> calls = {"disable", "range 0-36", "prompt 1"};
    if (useLocalClock) {
      calls.insert(calls.end(), {"no correction", "start clock"});
    } else {
      calls.push_back("stop clock");
    }
    calls.insert(calls.end(), {"enable", "save -1"});
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
  EXPECT_TRUE(f.sntp.resolved.empty());
  EXPECT_EQ(f.host.Calls(), (std::vector<std::string>{"disable", "range 0-132", "prompt 0",
                                                      "stop clock", "enable", "save -1"}));
}

TEST(CalibrationRunFlow, OneRunAtATimeOnItsWorker) {
  Fixture f;
  f.run.SetServers({{20, "near"}});
  for (int i = 0; i < 12; ++i) f.sntp.scripts["near"].push_back(0.002);
  std::atomic<bool> release{false};
  f.sntp.onSend = [&](size_t) {
    while (!release) std::this_thread::sleep_for(1ms);
  };
  ASSERT_TRUE(f.run.StartCalibration());
  EXPECT_FALSE(f.run.StartCalibration());
  release = true;
  f.run.Wait();
  EXPECT_FALSE(f.run.Running());
  EXPECT_TRUE(f.run.LastOutcome().calibrated);
  EXPECT_EQ(f.run.LastOutcome().correction, 20'000);
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
  ASSERT_FALSE(f.sntp.resolved.empty());
  EXPECT_EQ(f.sntp.resolved.front(), kFallbackServer);
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
