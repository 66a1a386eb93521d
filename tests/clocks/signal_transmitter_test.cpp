#include "clocks/signal_transmitter.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "clocks/signal_view.h"
#include "platform/message_target.h"
#include "support/fakes.h"
#include "support/recording_target.h"
#include "support/times.h"

namespace vantorel {
namespace {

using namespace std::chrono_literals;

// Records, in one sequence with the messages, every level shown and every repaint asked.
class Recorder final : public SignalView, public MessageTarget {
 public:
  explicit Recorder(const SignalTransmitter* transmitter = nullptr) : m_transmitter(transmitter) {}
  void ShowLevel(int level, SteadyClock::time_point due) override {
    WaitUntilDue(due);
    Add("L" + std::to_string(level));
  }
  void RequestRepaint() override { Add("repaint"); }
  intptr_t SendMessage(uint32_t message, uintptr_t, intptr_t) override {
    Add(message == kMsgSignalStarted    ? "started"
        : message == kMsgSignalFinished ? "finished"
                                        : "other");
    return 0;
  }
  std::vector<std::string> Events() {
    std::lock_guard guard(m_mutex);
    return m_events;
  }
  std::vector<int> Steps() {
    std::lock_guard guard(m_mutex);
    return m_steps;
  }

 private:
  void Add(std::string event) {
    std::lock_guard guard(m_mutex);
    m_events.push_back(std::move(event));
    if (m_transmitter != nullptr) m_steps.push_back(m_transmitter->Step());
  }
  const SignalTransmitter* m_transmitter;
  std::mutex m_mutex;
  std::vector<std::string> m_events;
  std::vector<int> m_steps;
};

bool WaitIdle(const SignalTransmitter& transmitter, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (transmitter.Busy() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(5ms);
  return !transmitter.Busy();
}

// The fake clock reads x.950, so the first step is 1,050 ms away and the test runs ~3.1 s.
TEST(SignalTransmission, SendsTheWholeFrameOnceBetweenStartedAndFinished) {
  test::FixedClock clock(test::MakeFileTime(2012, 1, 1, 12, 0, 0, 950));
  SignalTransmitter transmitter(clock);
  Recorder recorder(&transmitter);
  transmitter.SetView(&recorder);
  transmitter.SetTarget(&recorder);
  const int64_t offset = 0;
  const int64_t shift = 0;
  ASSERT_TRUE(transmitter.StartTransmission(&offset, &shift, 0));
  EXPECT_FALSE(transmitter.StartTransmission(&offset, &shift, 0));  // one at a time
  ASSERT_TRUE(WaitIdle(transmitter, 6s));

  // Level changes of the frame for 12:00:04 (block 0x43042C004), then the repaint to dark.
  const SignalLevels levels = transmitter.Levels();
  std::vector<std::string> expected = {"started"};
  std::vector<int> expectedSteps = {0};
  for (int step = 1; step <= kFrameSteps; ++step) {
    if (levels[static_cast<size_t>(step)] != levels[static_cast<size_t>(step - 1)]) {
      expected.push_back("L" + std::to_string(levels[static_cast<size_t>(step)]));
      expectedSteps.push_back(step);
    }
  }
  expected.insert(expected.end(), {"repaint", "finished"});
  expectedSteps.insert(expectedSteps.end(), {0, 0});
  EXPECT_EQ(recorder.Events(), expected);
  EXPECT_EQ(recorder.Steps(), expectedSteps);
  EXPECT_EQ(TimeBlock(transmitter.FrameTime(), false), 0x43042C004u);
  EXPECT_EQ(transmitter.Step(), 0);
  EXPECT_EQ(transmitter.CurrentLevel(), 0);
  // Exactly 41 steps, each handled once, in order, never before it was due.
  for (int step = 1; step <= kFrameSteps; ++step) {
    EXPECT_GE(transmitter.StepTime(step), transmitter.StepDue(step)) << step;
    if (step > 1) {
      EXPECT_GT(transmitter.StepTime(step), transmitter.StepTime(step - 1)) << step;
    }
  }
  ASSERT_EQ(transmitter.ProbeMs().size(), 1u);
  // 1,050 ms to step 1, 41 steps, the end one period later.
  EXPECT_GE(transmitter.ProbeMs()[0], 1050.0 + 41 * 50.0);
}

TEST(SignalTransmission, OffsetsMoveTheFrameAndNullPointersSendTheLocalClock) {
  struct Case {
    const char* what;
    std::optional<int64_t> offset;
    std::optional<int64_t> shift;
    int notCalibrated;
    platform::FileTime encodes;
  };
  const Case cases[] = {
      {"offset and UTC+8", 25'000'000, 288'000'000'000, 0,
       test::MakeFileTime(2012, 1, 1, 20, 0, 7, 450)},
      {"null pointers: local clock", std::nullopt, std::nullopt, 1,
       test::MakeFileTime(2012, 1, 1, 13, 0, 4, 950)},
      {"one pointer missing", 25'000'000, std::nullopt, 1,
       test::MakeFileTime(2012, 1, 1, 13, 0, 4, 950)},
  };
  for (const Case& c : cases) {
    test::FixedClock clock(test::MakeFileTime(2012, 1, 1, 12, 0, 0, 950),
                           -60);  // local clock one hour ahead
    SignalTransmitter transmitter(clock);
    Recorder recorder;
    transmitter.SetTarget(&recorder);
    ASSERT_TRUE(transmitter.StartTransmission(c.offset ? &*c.offset : nullptr,
                                              c.shift ? &*c.shift : nullptr, c.notCalibrated));
    ASSERT_TRUE(WaitIdle(transmitter, 6s)) << c.what;
    EXPECT_EQ(transmitter.FrameTime(), platform::FileTimeToSystemTime(c.encodes)) << c.what;
    // What went out is the whole frame of the expected time and flag, step for step.
    SignalLevels expected{};
    BuildFrame(TimeBlock(platform::FileTimeToSystemTime(c.encodes), c.notCalibrated != 0),
               &expected);
    EXPECT_EQ(transmitter.Levels(), expected) << c.what;
    EXPECT_EQ(transmitter.Levels()[kTimeBlockFirstIndex + 33], c.notCalibrated) << c.what;
  }
}

TEST(SignalTransmission, DestroyingTheOwnerMidFrameEndsItCleanly) {
  for (const auto wait : {0ms, 30ms, 1200ms}) {
    Recorder recorder;
    const auto start = std::chrono::steady_clock::now();
    {
      SignalTransmitter transmitter;
      transmitter.SetView(&recorder);
      transmitter.SetTarget(&recorder);
      ASSERT_TRUE(transmitter.StartTransmission(nullptr, nullptr, 1));
      std::this_thread::sleep_for(wait);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, wait + 500ms);
    const auto events = recorder.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "started");
    EXPECT_NE(events.back(), "finished");  // no notification to an owner that is going away
  }
}

}  // namespace
}  // namespace vantorel
