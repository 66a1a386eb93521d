#include "platform/manual_reset_event.h"

#include <gtest/gtest.h>

#include <thread>

namespace vantorel::platform {
namespace {

using namespace std::chrono_literals;

TEST(ManualResetEvent, StaysSetForEveryWaiterUntilReset) {
  ManualResetEvent event;
  EXPECT_FALSE(event.Wait(5ms));
  std::thread setter([&] {
    std::this_thread::sleep_for(10ms);
    event.Set();
  });
  std::atomic<int> woke{0};
  std::thread other([&] { woke += event.Wait(2s) ? 1 : 0; });
  EXPECT_TRUE(event.Wait(2s));
  setter.join();
  other.join();
  EXPECT_EQ(woke.load(), 1);
  EXPECT_TRUE(event.IsSet());
  EXPECT_TRUE(event.Wait(0ms));
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.Wait(1ms));
}

TEST(ManualResetEvent, WaitUntilAPastDeadlineReportsTheState) {
  ManualResetEvent set(true);
  ManualResetEvent unset;
  const auto past = std::chrono::steady_clock::now() - 1s;
  EXPECT_TRUE(set.WaitUntil(past));
  EXPECT_FALSE(unset.WaitUntil(past));
}

}  // namespace
}  // namespace vantorel::platform
