// Whole calibration runs against real sockets on 127.0.0.1 that misbehave as servers on the
// network do. Every run must end in bounded time, with the right outcome, and leave no thread.
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "mainwnd/calibration_run.h"
#include "ntp/sntp_client.h"
#include "support/fake_ntp_server.h"
#include "support/recording_host.h"
#include "support/scripted_sntp.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using test::Datagram;
using test::FakeNtpServer;
using test::Request;

// The real client, with each server name sent to its own port on the loopback: the run asks
// port 123 of names, the test's servers listen on ports of their own.
class LoopbackSntp final : public SntpQuery {
 public:
  explicit LoopbackSntp(std::map<std::string, uint16_t> ports) : m_ports(std::move(ports)) {}
  void SetTimeout(uint32_t ms) override { m_client.SetTimeout(ms); }
  void Abandon() override { m_client.Abandon(); }
  bool Query(const std::string& server, SntpResult& result, uint16_t) override {
    const auto port = m_ports.find(server);
    if (port == m_ports.end()) return false;
    return m_client.Query("localhost", result, port->second);
  }

 private:
  std::map<std::string, uint16_t> m_ports;
  SntpClient m_client;
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

struct ServerKind {
  FakeNtpServer::Responder responder;  // none: a closed port
  std::chrono::milliseconds delay{};
};

const ServerKind kGood{
    [](const Request& r) { return std::vector<Datagram>{test::GoodReply(r, kOffset)}; }};
const ServerKind kClosed{};
const ServerKind kKissOfDeath{
    [](const Request& r) { return std::vector<Datagram>{KissOfDeath(r)}; }};

struct Case {
  const char* what;
  std::vector<ServerKind> servers;  // the list, in order; the run starts with the first
  bool calibrated;
  int queries;
  std::chrono::milliseconds bound;  // the run's longest time: its time-outs and pauses, doubled
  std::optional<size_t> endedOn{};  // the server it ends on: the last if calibrated, else the first
};

// A lone server that fails is asked five times, and once more after the switch back to it:
// 6 time-outs of 1.5 s and 6 pauses of 0.1 s, twice over.
constexpr auto kSixTimeouts = 20s;
// 12 answers (and for the long list 29 × 5 instant failures), a pause after each.
constexpr auto kPausesOf12 = 3s;
constexpr auto kPausesOf157 = 32s;

std::vector<Case> Cases() {
  std::vector<ServerKind> longList(29, kClosed);
  longList.push_back(kGood);
  return {
      {"a server answering 1.6 s late (its replies come stale to the next query)",
       {{kGood.responder, 1600ms}},
       false,
       6,
       kSixTimeouts},
      {"a server answering every request twice",
       {{[](const Request& r) {
         return std::vector<Datagram>{test::GoodReply(r, kOffset), test::GoodReply(r, kOffset)};
       }}},
       true,
       12,
       kPausesOf12},
      {"a forged reply (10 s off) before the true one",
       {{[](const Request& r) {
         return std::vector<Datagram>{Forged(r, 10.0), test::GoodReply(r, kOffset)};
       }}},
       true,
       12,
       kPausesOf12},
      {"only forged replies",
       {{[](const Request& r) { return std::vector<Datagram>{Forged(r, kOffset)}; }}},
       false,
       6,
       kSixTimeouts},
      // A server that says stop is asked once, and not again when the ring comes back to it.
      {"a kiss-o'-death", {kKissOfDeath}, false, 1, kPausesOf12},
      {"a kiss-o'-death, then a good server", {kKissOfDeath, kGood}, true, 1 + 12, kPausesOf12},
      {"a kiss-o'-death and a closed port",
       {kKissOfDeath, kClosed},
       false,
       1 + 5 + 1,
       kPausesOf12,
       1},
      {"a closed port", {kClosed}, false, 6, kPausesOf12},
      {"30 servers of which only the last answers", longList, true, 29 * 5 + 12, kPausesOf157},
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
    std::map<std::string, uint16_t> ports;
    std::vector<ServerEntry> list;
    for (const ServerKind& kind : c.servers) {
      const std::string name = "server" + std::to_string(list.size());
      if (kind.responder) {
        servers.push_back(std::make_unique<FakeNtpServer>(kind.responder, kind.delay));
        ports[name] = servers.back()->Port();
      } else {
        ports[name] = test::ClosedUdpPort();
      }
      list.push_back({0, name});
    }
    LoopbackSntp sntp(ports);
    test::FixedNetwork network(true);
    test::RecordingHost host;
    CalibrationRun run(host, sntp, network);
    run.SetServers(list);
    run.Settings().nSelNTPServerIndex = 0;
    run.SelectInitialServer();

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(run.StartCalibration());
    run.Wait();
    const auto took = std::chrono::steady_clock::now() - start;

    const CalibrationOutcome outcome = run.LastOutcome();
    EXPECT_EQ(outcome.calibrated, c.calibrated);
    EXPECT_EQ(outcome.queries, c.queries);
    EXPECT_LT(took, c.bound);
    if (c.calibrated) {
      EXPECT_NEAR(static_cast<double>(outcome.correction) / 1e7, kOffset, 0.005);
      EXPECT_EQ(run.CurrentServer(), list.back().host);
    } else {
      const auto calls = host.Calls();
      EXPECT_NE(std::find(calls.begin(), calls.end(), "prompt 0"), calls.end());
    }
    const size_t endedOn = c.endedOn.value_or(c.calibrated ? list.size() - 1 : 0);
    EXPECT_EQ(host.Calls().back(), "save " + std::to_string(endedOn)) << "the server it ended on";
    servers.clear();
    EXPECT_TRUE(ThreadsBackTo(threadsBefore))
        << ThreadCount() << " threads, " << threadsBefore << " before";
  }
}

TEST(CalibrationOverTheNetwork, CancelEndsARunWaitingOnASilentServer) {
  test::SilentUdpPort silent;
  LoopbackSntp sntp({{"silent", silent.Port()}});
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
