#include "ntp/sntp_client.h"

#include <gtest/gtest.h>

#include <thread>

#include <cstdio>
#include <functional>

#include "ntp/ntp_packet.h"
#include "platform/last_error.h"
#include "support/fake_ntp_server.h"
#include "support/fakes.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using test::Datagram;
using test::FakeNtpServer;
using test::GoodReply;
using test::Request;
using Clock = std::chrono::steady_clock;

std::shared_ptr<test::CountingResolver> NoLookups() {
  return std::make_shared<test::CountingResolver>(std::nullopt);
}

struct Outcome {
  bool ok;
  uint32_t error;
  SntpResult result;
  Clock::duration took;
};

// A good reply comes at once, so the default time-out costs nothing; it is long only so that a
// loaded machine never turns an answer into a time-out.
Outcome QueryOnce(const std::string& server, uint16_t port, uint32_t timeoutMs = 5000,
                  std::shared_ptr<platform::NameResolver> resolver = NoLookups()) {
  SntpClient client(platform::SystemClock(), std::move(resolver));
  client.SetTimeout(timeoutMs);
  Outcome o{};
  platform::SetLastError(0);
  const auto start = Clock::now();
  o.ok = client.Query(server, o.result, port);
  o.took = Clock::now() - start;
  o.error = platform::GetLastError();
  return o;
}

TEST(SntpClient, DefaultTimeoutIsFiveSeconds) {
  EXPECT_EQ(SntpClient().Timeout(), 5000u);
}

TEST(SntpClient, GoodReplyGivesOffsetAndTimestamps) {
  FakeNtpServer server([](const Request& r) { return std::vector<Datagram>{GoodReply(r, 2.5)}; });
  const Outcome o = QueryOnce("127.0.0.1", server.Port());
  ASSERT_TRUE(o.ok) << o.error;
  // Off by half the round trip at most, however the trip's time fell on a busy machine.
  EXPECT_NEAR(o.result.clockOffset, 2.5, 0.001 + o.result.roundTripDelay / 2);
  EXPECT_GE(o.result.roundTripDelay, -0.002);
  EXPECT_LT(o.result.roundTripDelay, 0.1);
  EXPECT_EQ(o.result.stratum, 2);
  EXPECT_EQ(o.result.leapIndicator, 0);
  EXPECT_LE(o.result.originateTime.Value(), o.result.destinationTime.Value());
}

// Every faulty reply is a failed query with its own code, never a result.
TEST(SntpClient, FaultyRepliesFail) {
  struct Case {
    const char* name;
    std::function<void(Datagram&)> spoil;
    uint32_t code;
  };
  const Case cases[] = {
      {"short", [](Datagram& d) { d.resize(40); }, kNtpErrorShortReply},
      {"mode 3", [](Datagram& d) { d[0] = (4 << 3) | 3; }, kNtpErrorBadMode},
      {"stratum 0", [](Datagram& d) { d[1] = 0; }, kNtpErrorKissOfDeath},
      {"LI 3", [](Datagram& d) { d[0] |= 0xC0; }, kNtpErrorLeapAlarm},
      {"zero transmit", [](Datagram& d) { std::fill(d.begin() + 40, d.end(), 0); },
       kNtpErrorZeroTransmit},
      // A forged originate is not an answer: the client waits on and times out.
      {"wrong originate", [](Datagram& d) { d[31] ^= 0x5A; }, platform::kErrorTimedOut},
  };
  for (const Case& c : cases) {
    FakeNtpServer server([&](const Request& r) {
      Datagram d = GoodReply(r);
      c.spoil(d);
      return std::vector<Datagram>{d};
    });
    const Outcome o = QueryOnce("127.0.0.1", server.Port(), 1000);
    EXPECT_FALSE(o.ok) << c.name;
    EXPECT_EQ(o.error, c.code) << c.name;
  }
}

TEST(SntpClient, StaleDatagramIsSkippedForTheGoodReply) {
  FakeNtpServer server([](const Request& r) {
    Datagram stale = GoodReply(r, 100.0);
    stale[27] ^= 0xFF;  // answers some earlier request
    return std::vector<Datagram>{stale, GoodReply(r, 1.0)};
  });
  const Outcome o = QueryOnce("127.0.0.1", server.Port());
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_NEAR(o.result.clockOffset, 1.0, 0.001 + o.result.roundTripDelay / 2);
}

TEST(SntpClient, SilentServerTimesOutOnTime) {
  test::SilentUdpPort silent;
  const Outcome o = QueryOnce("127.0.0.1", silent.Port(), 1500);
  std::printf("silent server: query failed after %.1f ms\n",
              std::chrono::duration<double, std::milli>(o.took).count());
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.error, platform::kErrorTimedOut);
  EXPECT_GE(o.took, 1500ms);
  EXPECT_LE(o.took, 2500ms);  // not the 5 s default; the margin is for a loaded machine
}

TEST(SntpClient, AbandonEndsTheWaitAndEveryLaterQuery) {
  // Waiting for a silent server, and waiting for a name that takes long to look up.
  test::SilentUdpPort silent;
  struct Case {
    const char* server;
    std::shared_ptr<platform::NameResolver> resolver;
  };
  const Case cases[] = {
      {"127.0.0.1", NoLookups()},
      {"slow.example",
       std::make_shared<test::CountingResolver>(*platform::ParseDottedQuad("127.0.0.1"), 3000ms)},
  };
  for (const Case& c : cases) {
    SntpClient client(platform::SystemClock(), c.resolver);
    client.SetTimeout(5000);
    std::thread closer([&] {
      std::this_thread::sleep_for(200ms);
      client.Abandon();
    });
    SntpResult result;
    platform::SetLastError(0);
    const auto start = Clock::now();
    EXPECT_FALSE(client.Query(c.server, result, silent.Port())) << c.server;
    const auto took = Clock::now() - start;
    EXPECT_EQ(platform::GetLastError(), platform::kErrorInterrupted) << c.server;
    EXPECT_LT(took, 1000ms) << c.server;  // not the 5 s time-out
    closer.join();
    const auto again = Clock::now();
    EXPECT_FALSE(client.Query(c.server, result, silent.Port()));
    EXPECT_LT(Clock::now() - again, 1000ms);
  }
}

TEST(SntpClient, LateReplyPastTheTimeOutFails) {
  FakeNtpServer server([](const Request& r) { return std::vector<Datagram>{GoodReply(r)}; }, 400ms);
  const Outcome o = QueryOnce("127.0.0.1", server.Port(), 200);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.error, platform::kErrorTimedOut);
}

TEST(SntpClient, ClosedPortFailsAtOnce) {
  const Outcome o = QueryOnce("127.0.0.1", test::ClosedUdpPort(), 1500);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.error, platform::kErrorConnectionRefused);
  EXPECT_LT(o.took, 1000ms);  // not the 1.5 s time-out
}

TEST(SntpClient, DottedQuadStartsNoLookup) {
  FakeNtpServer server([](const Request& r) { return std::vector<Datagram>{GoodReply(r)}; });
  auto resolver = std::make_shared<test::CountingResolver>(std::nullopt);
  EXPECT_TRUE(QueryOnce("127.0.0.1", server.Port(), 5000, resolver).ok);
  EXPECT_EQ(resolver->calls.load(), 0);
}

TEST(SntpClient, NamesAreLookedUpAndUnresolvableOnesSendNothing) {
  FakeNtpServer server([](const Request& r) { return std::vector<Datagram>{GoodReply(r)}; });
  auto loopback = std::make_shared<test::CountingResolver>(*platform::ParseDottedQuad("127.0.0.1"));
  EXPECT_TRUE(QueryOnce("ntp.example", server.Port(), 5000, loopback).ok);
  EXPECT_EQ(loopback->calls.load(), 1);
  EXPECT_EQ(server.Requests(), 1);

  auto nowhere = std::make_shared<test::CountingResolver>(std::nullopt);
  const Outcome o = QueryOnce("no.such.name.invalid", server.Port(), 5000, nowhere);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.error, platform::kErrorHostNotFound);
  EXPECT_EQ(server.Requests(), 1);

  auto slow =
      std::make_shared<test::CountingResolver>(*platform::ParseDottedQuad("127.0.0.1"), 3000ms);
  const Outcome late = QueryOnce("slow.example", server.Port(), 100, slow);
  EXPECT_FALSE(late.ok);
  EXPECT_EQ(late.error, platform::kErrorTimedOut);
  EXPECT_LT(late.took, 1500ms);
  EXPECT_EQ(server.Requests(), 1);

  for (const std::string& odd : {std::string(), std::string("a\0b", 3)}) {
    EXPECT_FALSE(QueryOnce(odd, server.Port(), 100, nowhere).ok);
  }
  EXPECT_EQ(server.Requests(), 1);
}

}  // namespace
}  // namespace vantorel
