#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "app/settings.h"
#include "support/temp_dir.h"

namespace vantorel {
namespace {

SettingsRecord Version(int n) {
  SettingsRecord record;
  record.nSelLanguageIndex = n % 2;
  record.nSelTimeZoneIndex = 10 + n % 2;
  record.bTimeZoneUnset = 0;
  record.nSelNTPServerIndex = n % 2;
  record.bDST = static_cast<uint16_t>(n % 2);
  record.bDefualtServers = 0;
  record.strServers = n % 2 == 0 ? "even.example;two.example" : "odd.example";
  return record;
}

// A process killed in the middle of saving leaves the old file or the new one, never a mix,
// never an empty file: each save is a whole new file renamed over the old.
TEST(SettingsCrashSafety, KilledWhileSavingLeavesOneWholeVersion) {
  test::TempDir dir;
  const auto file = dir.File("Setting.ini");
  test::WriteFile(file, "; a note that every save keeps\n[Other]\nx=1\n");
  const SettingsRecord first = Version(0);
  ASSERT_TRUE(SaveSettings(&first, false, file));
  std::mt19937 random(99);
  int sawOdd = 0;
  for (int round = 0; round < 40; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 1;; ++n) {
        const SettingsRecord next = Version(n);
        SaveSettings(&next, false, file);
        if (n == 1) (void)!::write(ready[1], "1", 1);  // one whole save is in
      }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    SettingsRecord loaded;
    LoadSettings(&loaded, file);
    const SettingsRecord even = Version(0);
    const SettingsRecord odd = Version(1);
    ASSERT_TRUE(loaded == even || loaded == odd) << "round " << round << ":\n"
                                                 << test::ReadFile(file);
    sawOdd += loaded == odd ? 1 : 0;
    ASSERT_EQ(test::ReadFile(file).rfind("; a note that every save keeps\n", 0), 0u) << round;
  }
  // Each kill came after at least one save; so the newer versions were seen.
  EXPECT_GT(sawOdd, 0);
}

}  // namespace
}  // namespace vantorel
