#include "platform/udp_socket.h"

#include <gtest/gtest.h>

#include <cstring>
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
  std::optional<uint32_t> Resolve(const std::string&) override {
    released.Wait(10s);
    finished.Set();
    return 0x01020304u;
  }
  ManualResetEvent released;
  ManualResetEvent finished;
};

// The found and not-found answers come at once, so their generous time-out costs nothing; it only
// keeps a loaded machine from reporting them timed out.
TEST(LookupWithTimeout, ReportsFoundNotFoundAndTimedOut) {
  uint32_t address = 0;
  EXPECT_EQ(LookupWithTimeout(std::make_shared<CountingResolver>(0x01020304u), "a", 20s, &address),
            Lookup::kFound);
  EXPECT_EQ(address, 0x01020304u);
  EXPECT_EQ(LookupWithTimeout(std::make_shared<CountingResolver>(std::nullopt), "a", 20s, &address),
            Lookup::kNotFound);
  auto held = std::make_shared<HeldResolver>();
  const auto start = std::chrono::steady_clock::now();
  address = 0;
  EXPECT_EQ(LookupWithTimeout(held, "a", 30ms, &address), Lookup::kTimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_EQ(address, 0u);
  held->released.Set();
  held->finished.Wait(5s);  // so that the worker ends with the test
}

// The abandoned worker finishes after the caller has gone; it must write only into storage it
// shares, which the sanitizers would catch otherwise.
TEST(LookupWithTimeout, AbandonedLookupFinishesHarmlessly) {
  auto resolver = std::make_shared<CountingResolver>(0x05060708u, 50ms);
  for (int i = 0; i < 4; ++i) {
    uint32_t address = 0;
    EXPECT_EQ(LookupWithTimeout(resolver, "slow", 1ms, &address), Lookup::kTimedOut);
  }
  const auto limit = std::chrono::steady_clock::now() + 2s;
  while (resolver->finished < 4 && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(5ms);
  EXPECT_EQ(resolver->finished.load(), 4);
}

TEST(SystemNameResolver, ResolvesLocalhost) {
  const auto address = SystemNameResolver()->Resolve("localhost");
  ASSERT_TRUE(address.has_value());
  uint8_t first = 0;
  std::memcpy(&first, &*address, 1);  // network byte order: the first byte is the first part
  EXPECT_EQ(first, 127u);
}

TEST(SocketErrorFromErrno, MapsTheCodesCallersSee) {
  EXPECT_EQ(SocketErrorFromErrno(ETIMEDOUT), 10060u);
  EXPECT_EQ(SocketErrorFromErrno(ECONNREFUSED), 10061u);
  EXPECT_EQ(SocketErrorFromErrno(EHOSTUNREACH), 10065u);
}

}  // namespace
}  // namespace vantorel::platform
