// Whole calibration runs against real sockets on 127.0.0.1 that misbehave as servers on the
// network do. Every run must end in bounded time, with the right outcome, and leave no thread.
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "mainwnd/calibration_run.h"
#include "ntp/parallel_sntp.h"
#include "support/fake_ntp_server.h"
#include "support/recording_host.h"
#include "support/scripted_sntp.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using test::Datagram;
using test::FakeNtpServer;
using test::Request;

// The real exchange, with each address a name stands for sent to its own port on the
// loopback: the run asks port 123 of made-up addresses, the test's servers listen on ports of
// their own.
class LoopbackSntp final : public SntpExchange {
 public:
  explicit LoopbackSntp(std::map<std::string, std::vector<uint16_t>> ports) {
    for (auto& [name, list] : ports) {
      for (const uint16_t port : list) {
        const auto address = platform::NetAddress::V4(static_cast<uint32_t>(m_ports.size() + 1));
        m_ports[address] = port;
        m_names[name].push_back(address);
      }
    }
  }
  TimePoint Now() const override { return m_real.Now(); }
  void SetTimeout(uint32_t ms) override { m_real.SetTimeout(ms); }
  std::vector<platform::NetAddress> Resolve(const std::string& name) override {
    const auto found = m_names.find(name);
    return found == m_names.end() ? std::vector<platform::NetAddress>{} : found->second;
  }
  bool Send(uint64_t ticket, const platform::NetAddress& address, uint16_t,
            uint32_t* error) override {
    return m_real.Send(ticket, m_loopback, m_ports.at(address), error);
  }
  std::vector<SntpOutcome> Wait(TimePoint until) override { return m_real.Wait(until); }
  void DropAll() override { m_real.DropAll(); }
  void Abandon() override { m_real.Abandon(); }

 private:
  const platform::NetAddress m_loopback =
      platform::NetAddress::V4(*platform::ParseDottedQuad("127.0.0.1"));
  std::map<platform::NetAddress, uint16_t> m_ports;
  std::map<std::string, std::vector<platform::NetAddress>> m_names;
  ParallelSntp m_real;
};

int ThreadCount() {
  int count = 0;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) count += entry->d_name[0] != '.';
    ::closedir(tasks);
  }
  return count;
}

// Name lookups end on detached workers of their own: give them a moment to go.
bool ThreadsBackTo(int count) {
  for (int i = 0; i < 100; ++i) {
    if (ThreadCount() <= count) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

Datagram Forged(const Request& request, double offset) {
  Datagram reply = test::GoodReply(request, offset);
  reply[31] ^= 0x5A;  // an originate timestamp this client never sent
  return reply;
}

Datagram KissOfDeath(const Request& request) {
  Datagram reply = test::GoodReply(request);
  reply[1] = 0;
  reply[12] = 'R';
  reply[13] = 'A';
  reply[14] = 'T';
  reply[15] = 'E';
  return reply;
}

constexpr double kOffset = 0.25;  // seconds the good servers' clocks run ahead

// Every address of a kind is a server of its own, with its own memory of its client.
struct ServerKind {
  std::function<FakeNtpServer::Responder()> make;  // none: a closed port
  std::chrono::milliseconds delay{};
  int addresses = 1;
};

FakeNtpServer::Responder Always(std::function<std::vector<Datagram>(const Request&)> answer) {
  return answer;
}
// Answers unless asked again within `guard`; then a RATE kiss, or nothing.
FakeNtpServer::Responder Guarded(std::chrono::milliseconds guard, bool kiss) {
  auto last = std::make_shared<std::optional<std::chrono::steady_clock::time_point>>();
  return [=](const Request& r) {
    const auto now = std::chrono::steady_clock::now();
    const bool tooSoon = *last && now - **last < guard;
    *last = now;
    if (!tooSoon) return std::vector<Datagram>{test::GoodReply(r, kOffset)};
    return kiss ? std::vector<Datagram>{KissOfDeath(r)} : std::vector<Datagram>{};
  };
}

ServerKind Good(int addresses = 1) {
  return {[] {
            return Always([](const Request& r) {
              return std::vector<Datagram>{test::GoodReply(r, kOffset)};
            });
          },
          {},
          addresses};
}
const ServerKind kClosed{};
const ServerKind kKissOfDeath{
    [] { return Always([](const Request& r) { return std::vector<Datagram>{KissOfDeath(r)}; }); }};

struct Case {
  const char* what;
  std::vector<ServerKind> servers;  // the list, in order
  bool calibrated;
  int queries;
  std::chrono::milliseconds bound;  // the run's longest time
  int runs = 1;                     // one after the other
  std::optional<size_t> endedOn{};  // the server position saved: the last if calibrated
};

// One silent address: five time-outs of 1.5 s, the spacing between them, and a margin.
constexpr auto kFiveSilences = 22s;
constexpr auto kAtOnce = 3s;

std::vector<Case> Cases() {
  std::vector<ServerKind> longList(29, kClosed);
  longList.push_back(Good(12));
  return {
      {"an address answering 1.6 s late beside twelve good ones",
       {{Good().make, 1600ms}, Good(12)},
       true,
       1 + 12,
       kAtOnce},
      {"twelve addresses answering every request twice",
       {{[] {
           return Always([](const Request& r) {
             return std::vector<Datagram>{test::GoodReply(r, kOffset), test::GoodReply(r, kOffset)};
           });
         },
         {},
         12}},
       true,
       12,
       kAtOnce},
      {"a forged reply (10 s off) before the true one",
       {{[] {
           return Always([](const Request& r) {
             return std::vector<Datagram>{Forged(r, 10.0), test::GoodReply(r, kOffset)};
           });
         },
         {},
         12}},
       true,
       12,
       kAtOnce},
      {"only forged replies: silence",
       {{[] {
         return Always([](const Request& r) { return std::vector<Datagram>{Forged(r, kOffset)}; });
       }}},
       false,
       CalibrationRun::kFailuresPerServer,
       kFiveSilences},
      // An address that says stop is asked once, and not again in that run.
      {"a kiss-o'-death", {kKissOfDeath}, false, 1, kAtOnce},
      {"a kiss-o'-death, then twelve good addresses",
       {kKissOfDeath, Good(12)},
       true,
       1 + 12,
       kAtOnce},
      {"a closed port refuses, and is not asked again", {kClosed}, false, 1, kAtOnce},
      {"30 names of which only the last answers", longList, true, 29 + 12, kAtOnce},
      // Servers that limit their clients, two runs in a row: the second waits out the spacing.
      {"RATE within 2 s, and drops within 4 s, two runs in a row",
       {{[] { return Guarded(2s, true); }, {}, 6}, {[] { return Guarded(4s, false); }, {}, 6}},
       true,
       2 * 12,
       AddressPacing::kSpacing + kAtOnce,
       2,
       0},
  };
}

TEST(CalibrationOverTheNetwork, FaultyServersEndInBoundedTimeWithTheRightOutcome) {
  // A sanitizer's runtime starts a thread of its own with the process's first thread: let it
  // start before counting.
  std::thread([] {}).join();
  const int threadsBefore = ThreadCount();
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    std::vector<std::unique_ptr<FakeNtpServer>> servers;
    std::map<std::string, std::vector<uint16_t>> ports;
    std::vector<ServerEntry> list;
    for (const ServerKind& kind : c.servers) {
      const std::string name = "server" + std::to_string(list.size());
      for (int i = 0; kind.make && i < kind.addresses; ++i) {
        servers.push_back(std::make_unique<FakeNtpServer>(kind.make(), kind.delay));
        ports[name].push_back(servers.back()->Port());
      }
      list.push_back({0, name});
    }
    // Closed ports only once every server holds its own: a port closed first may be handed
    // to a server bound after it (Wine hands them out again at once), and then it answers.
    for (size_t at = 0; at < list.size(); ++at) {
      if (!c.servers[at].make) ports[list[at].host].push_back(test::ClosedUdpPort());
    }
    LoopbackSntp sntp(ports);
    test::FixedNetwork network(true);
    test::RecordingHost host;
    CalibrationRun run(host, sntp, network);
    run.SetServers(list);
    run.Settings().bDefualtServers = 0;
    run.Settings().nSelNTPServerIndex = 0;
    run.SelectInitialServer();

    const auto start = std::chrono::steady_clock::now();
    int queries = 0;
    for (int i = 0; i < c.runs; ++i) {
      ASSERT_TRUE(run.StartCalibration());
      run.Wait();
      EXPECT_EQ(run.LastOutcome().calibrated, c.calibrated) << "run " << i;
      queries += run.LastOutcome().queries;
    }
    const auto took = std::chrono::steady_clock::now() - start;

    const CalibrationOutcome outcome = run.LastOutcome();
    EXPECT_EQ(queries, c.queries);
    EXPECT_LT(took, c.bound) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                             << " ms";
    if (c.calibrated) {
      // An offset can be off by at most half its round trip, whichever way the trip's time
      // fell: on a busy machine the servers' threads wait, and the bound widens with them.
      EXPECT_NEAR(static_cast<double>(outcome.correction) / 1e7, kOffset,
                  0.001 + outcome.longestDelay / 2);
    } else {
      const auto calls = host.Calls();
      EXPECT_NE(std::find(calls.begin(), calls.end(), "prompt 0"), calls.end());
    }
    const size_t endedOn = c.endedOn.value_or(c.calibrated ? list.size() - 1 : 0);
    EXPECT_EQ(host.Calls().back(), "save " + std::to_string(endedOn)) << "the server in use";
    EXPECT_EQ(run.CurrentServer(), list[endedOn].host);
    servers.clear();
    EXPECT_TRUE(ThreadsBackTo(threadsBefore))
        << ThreadCount() << " threads, " << threadsBefore << " before";
  }
}

#ifndef _WIN32  // Windows' sockets keep no arrival stamp: there the wait counts as delay
// An answer that lies in the socket while the machine is busy elsewhere arrived when it
// arrived: the time it waited is neither offset nor delay.
TEST(CalibrationOverTheNetwork, AnAnswerLeftWaitingKeepsItsOffset) {
  FakeNtpServer server([](const Request& r) { return std::vector<Datagram>{test::GoodReply(r)}; });
  // The server started the sockets, which turns the system's arrival stamps on a moment
  // later; the program starts them with its window, long before its first query.
  std::this_thread::sleep_for(100ms);
  ParallelSntp sntp;
  sntp.SetTimeout(1500);
  const auto loopback = platform::NetAddress::V4(*platform::ParseDottedQuad("127.0.0.1"));
  uint32_t error = 0;
  ASSERT_TRUE(sntp.Send(1, loopback, server.Port(), &error)) << error;
  std::this_thread::sleep_for(300ms);
  const auto ended = sntp.Wait(std::chrono::steady_clock::now() + 1s);
  ASSERT_EQ(ended.size(), 1u);
  ASSERT_TRUE(ended[0].answered) << ended[0].error;
  EXPECT_NEAR(ended[0].result.clockOffset, 0.0, 0.03);
  EXPECT_LT(ended[0].result.roundTripDelay, 0.06);
}
#endif

TEST(CalibrationOverTheNetwork, CancelEndsARunWaitingOnASilentServer) {
  test::SilentUdpPort silent;
  LoopbackSntp sntp({{"silent", {silent.Port()}}});
  test::FixedNetwork network(true);
  test::RecordingHost host;
  CalibrationRun run(host, sntp, network);
  run.SetServers({{0, "silent"}});
  run.Settings().nSelNTPServerIndex = 0;
  run.SelectInitialServer();
  ASSERT_TRUE(run.StartCalibration());
  std::this_thread::sleep_for(300ms);  // inside the first query's 1.5 s wait
  const auto start = std::chrono::steady_clock::now();
  run.Cancel();
  run.Wait();
  // Waiting the query out would take the 1.2 s left of it; the margin is for a loaded machine.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 800ms);
  const auto calls = host.Calls();
  EXPECT_EQ(std::find(calls.begin(), calls.end(), "prompt 0"), calls.end());
  EXPECT_NE(calls.back(), "save 0");  // a cancelled run tells the window nothing more
}

}  // namespace
}  // namespace vantorel
