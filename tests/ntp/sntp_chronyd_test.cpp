#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ntp/sntp_client.h"
#include "platform/last_error.h"
#include "support/chronyd_server.h"

namespace vantorel {
namespace {

// Queries a real chronyd a few times and returns the median offset and the median delay: one
// exchange the scheduler holds up (the first of a process under Wine pays its start-up) says
// nothing of the client.
void Measure(const test::ChronydServer& server, double* offset, double* delay) {
  SntpClient client;
  client.SetTimeout(1500);
  std::vector<double> offsets;
  std::vector<double> delays;
  for (int i = 0; i < 5; ++i) {
    SntpResult result;
    ASSERT_TRUE(client.Query("127.0.0.1", result, server.Port()))
        << "last error " << platform::GetLastError();
    offsets.push_back(result.clockOffset);
    delays.push_back(result.roundTripDelay);
  }
  std::sort(offsets.begin(), offsets.end());
  std::sort(delays.begin(), delays.end());
  *offset = offsets[offsets.size() / 2];
  *delay = delays[delays.size() / 2];
}

TEST(SntpAgainstChronyd, TrueClockGivesNearZeroOffset) {
  test::ChronydServer server;
  ASSERT_TRUE(server.Ready()) << server.Problem();
  double offset = 0;
  double delay = 0;
  Measure(server, &offset, &delay);
  std::printf("chronyd true clock: offset %.3f ms, delay %.3f ms\n", offset * 1e3, delay * 1e3);
  EXPECT_LT(std::abs(offset), 0.005);
  EXPECT_LT(delay, 0.005);
}

TEST(SntpAgainstChronyd, FakedClocksGiveTheirOffsets) {
  for (const double fake : {2.5, -3.0}) {
    char value[16];
    std::snprintf(value, sizeof value, "%+.1f", fake);
    test::ChronydServer server(value);
    ASSERT_TRUE(server.Ready()) << server.Problem();
    double offset = 0;
    double delay = 0;
    Measure(server, &offset, &delay);
    std::printf("chronyd faked %s s: offset %.3f ms, delay %.3f ms\n", value, offset * 1e3,
                delay * 1e3);
    EXPECT_NEAR(offset, fake, 0.010) << value;
  }
}

}  // namespace
}  // namespace vantorel
