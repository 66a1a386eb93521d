#include "platform/precision_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/manual_reset_event.h"

namespace vantorel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(PrecisionTimer, OneShotFiresOnceNotBeforeItsDelay) {
  std::atomic<int> calls{0};
  ManualResetEvent fired;
  Clock::time_point firedAt;
  PrecisionTimer timer;  // after what its callback touches, so it ends first
  const auto start = Clock::now();
  timer.StartOneShot(30ms, [&](PrecisionTimer::TimerId) {
    firedAt = Clock::now();
    ++calls;
    fired.Set();
  });
  ASSERT_TRUE(fired.Wait(2s));
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(calls.load(), 1);
  EXPECT_GE(firedAt - start, 30ms);
}

// Due times sit on the grid of the start: the k-th call is never early and the count after a
// while matches the elapsed periods, however long each callback took.
TEST(PrecisionTimer, PeriodicCallsStayOnTheGridOfTheStart) {
  std::mutex mutex;
  std::vector<Clock::time_point> calls;
  PrecisionTimer timer;
  const auto start = Clock::now();
  const auto id = timer.StartPeriodic(10ms, [&](PrecisionTimer::TimerId) {
    std::lock_guard guard(mutex);
    calls.push_back(Clock::now());
    std::this_thread::sleep_for(3ms);  // work inside a callback must not push later due times
  });
  std::this_thread::sleep_for(205ms);
  timer.Kill(id);
  const auto elapsed = Clock::now() - start;
  std::lock_guard guard(mutex);
  // Never more calls than due times passed; a loaded machine may skip a few.
  EXPECT_LE(calls.size(), static_cast<size_t>(elapsed / 10ms));
  ASSERT_GE(calls.size(), 10u);
  for (size_t k = 0; k < calls.size(); ++k)
    EXPECT_GE(calls[k] - start, 10ms * static_cast<int>(k + 1)) << k;
}

TEST(PrecisionTimer, NoCallbackRunsAfterKillReturns) {
  std::atomic<bool> killed{false};
  std::atomic<int> lateCalls{0};
  PrecisionTimer timer;
  const auto id = timer.StartPeriodic(1ms, [&](PrecisionTimer::TimerId) {
    std::this_thread::sleep_for(2ms);
    if (killed) ++lateCalls;
  });
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(timer.Kill(id));
  killed = true;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(lateCalls.load(), 0);
  EXPECT_FALSE(timer.Kill(id));
  EXPECT_FALSE(timer.Kill(0));
}

// The clock engine's pattern: a callback kills its own timer and arms the next one.
TEST(PrecisionTimer, CallbackMayKillItselfAndStartAnother) {
  ManualResetEvent done;
  std::atomic<int> shots{0};
  PrecisionTimer timer;
  std::function<void(PrecisionTimer::TimerId)> chain = [&](PrecisionTimer::TimerId self) {
    timer.Kill(self);
    if (++shots < 5) {
      timer.StartOneShot(2ms, chain);
    } else {
      done.Set();
    }
  };
  timer.StartPeriodic(2ms, chain);
  ASSERT_TRUE(done.Wait(2s));
  EXPECT_EQ(shots.load(), 5);
}

TEST(PrecisionTimer, DestructionEndsPendingTimers) {
  std::atomic<int> calls{0};
  {
    PrecisionTimer timer;
    timer.StartPeriodic(1ms, [&](PrecisionTimer::TimerId) { ++calls; });
    timer.StartOneShot(10'000ms, [&](PrecisionTimer::TimerId) { ++calls; });
    std::this_thread::sleep_for(10ms);
  }
  const int atEnd = calls.load();
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(calls.load(), atEnd);
  EXPECT_GT(atEnd, 0);
}

}  // namespace
}  // namespace vantorel::platform
