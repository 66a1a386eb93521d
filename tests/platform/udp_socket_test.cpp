#include "platform/udp_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <thread>

#include "platform/manual_reset_event.h"
#include "support/fakes.h"

namespace vantorel::platform {
namespace {

using namespace std::chrono_literals;
using test::CountingResolver;

TEST(ParseDottedQuad, TakesAddressesOnly) {
  struct Case {
    const char* text;
    std::optional<uint32_t> address;  // host byte order
  };
  const Case cases[] = {
      {"127.0.0.1", 0x7F000001},
      {"10.1.2.3", 0x0A010203},
      {"0.0.0.0", 0},
      {"255.255.255.255", std::nullopt},
      {"time.example", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"", std::nullopt},
      {" 127.0.0.1x", std::nullopt},
      {"127.1", 0x7F000001},
      {"0x7f.0.0.010", 0x7F000008},
      {"127.0.0.1 ", std::nullopt},
      {"1.256.0.0", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDottedQuad(c.text);
    ASSERT_EQ(parsed.has_value(), c.address.has_value()) << c.text;
    if (parsed) {
      uint8_t bytes[4];
      std::memcpy(bytes, &*parsed, sizeof bytes);
      EXPECT_EQ(
          uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3],
          *c.address)
          << c.text;
    }
  }
}

// Answers only once the test lets it, so a lookup that waited for it would report it found.
class HeldResolver final : public NameResolver {
 public:
  std::vector<NetAddress> Resolve(const std::string&) override {
    released.Wait(10s);
    finished.Set();
    return {NetAddress::V4(0x01020304u)};
  }
  ManualResetEvent released;
  ManualResetEvent finished;
};

// The found and not-found answers come at once, so their generous time-out costs nothing; it only
// keeps a loaded machine from reporting them timed out.
TEST(LookupWithTimeout, ReportsFoundNotFoundAndTimedOut) {
  std::vector<NetAddress> found;
  EXPECT_EQ(LookupWithTimeout(std::make_shared<CountingResolver>(0x01020304u), "a", 20s, &found),
            Lookup::kFound);
  EXPECT_EQ(found, std::vector<NetAddress>{NetAddress::V4(0x01020304u)});
  EXPECT_EQ(LookupWithTimeout(std::make_shared<CountingResolver>(std::nullopt), "a", 20s, &found),
            Lookup::kNotFound);
  auto held = std::make_shared<HeldResolver>();
  const auto start = std::chrono::steady_clock::now();
  found.clear();
  EXPECT_EQ(LookupWithTimeout(held, "a", 30ms, &found), Lookup::kTimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_TRUE(found.empty());
  held->released.Set();
  held->finished.Wait(5s);  // so that the worker ends with the test
}

// The abandoned worker finishes after the caller has gone; it must write only into storage it
// shares, which the sanitizers would catch otherwise.
TEST(LookupWithTimeout, AbandonedLookupFinishesHarmlessly) {
  auto resolver = std::make_shared<CountingResolver>(0x05060708u, 50ms);
  for (int i = 0; i < 4; ++i) {
    std::vector<NetAddress> found;
    EXPECT_EQ(LookupWithTimeout(resolver, "slow", 1ms, &found), Lookup::kTimedOut);
  }
  const auto limit = std::chrono::steady_clock::now() + 2s;
  while (resolver->finished < 4 && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(5ms);
  EXPECT_EQ(resolver->finished.load(), 4);
}

// Every address of a name, each once; the loopback names of /etc/hosts are a machine's own.
TEST(SystemNameResolver, GivesEveryAddressOfAName) {
  const auto found = SystemNameResolver()->Resolve("localhost");
  ASSERT_FALSE(found.empty());
  EXPECT_NE(std::find(found.begin(), found.end(), NetAddress::V4(*ParseDottedQuad("127.0.0.1"))),
            found.end());
  EXPECT_EQ(std::set<NetAddress>(found.begin(), found.end()).size(), found.size());
  EXPECT_TRUE(SystemNameResolver()->Resolve("no-such-host.invalid").empty());
}

TEST(NetAddress, ReadsAsTheUsualText) {
  NetAddress v6;
  v6.family = NetAddress::Family::kV6;
  v6.bytes = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  NetAddress mapped = v6;
  mapped.bytes = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0, 0, 0, 1};
  NetAddress split = v6;
  split.bytes = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0};
  struct Case {
    NetAddress address;
    const char* text;
  };
  for (const Case& c :
       {Case{NetAddress::V4(*ParseDottedQuad("192.0.2.10")), "192.0.2.10"}, Case{v6, "2001:db8::1"},
        Case{mapped, "::ffff:0:1"}, Case{split, "2001:db8:0:1::1:0"},
        Case{NetAddress{NetAddress::Family::kV6, {}}, "::"}}) {
    EXPECT_EQ(ToText(c.address), c.text);
  }
}

TEST(SocketErrorFromErrno, MapsTheCodesCallersSee) {
  EXPECT_EQ(SocketErrorFromErrno(ETIMEDOUT), 10060u);
  EXPECT_EQ(SocketErrorFromErrno(ECONNREFUSED), 10061u);
  EXPECT_EQ(SocketErrorFromErrno(EHOSTUNREACH), 10065u);
}

}  // namespace
}  // namespace vantorel::platform
