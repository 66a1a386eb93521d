#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "settings/settings.h"
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

// The last number a writer process reported as saved, from its pipe.
int LastReported(int fd) {
  int last = 0;
  int n = 0;
  while (::read(fd, &n, sizeof n) == static_cast<ssize_t>(sizeof n)) last = n;
  return last;
}

// A writer that saves its own keys over and over from one loaded record, and reports each
// number once its save is whole: the calibration run (server position and zone) or the
// settings dialog (language, daylight flag, servers).
[[noreturn]] void WriteForever(const std::filesystem::path& file, bool asRun, int report) {
  SettingsRecord record;
  LoadSettings(&record, file);
  for (int n = 1;; ++n) {
    if (asRun) {
      record.nSelNTPServerIndex = n;
      record.nSelTimeZoneIndex = n % 75;
      record.bTimeZoneUnset = 0;
    } else {
      record.nSelLanguageIndex = n % 2;
      record.bDST = static_cast<uint16_t>(n % 2);
      record.bDefualtServers = 0;
      record.strServers = "b" + std::to_string(n) + ".example";
    }
    if (SaveSettings(&record, false, file)) (void)!::write(report, &n, sizeof n);
  }
}

// Two processes save different keys of one file while each is killed in the middle of a save:
// every read is one whole file that holds each writer's last whole save (or the one it was
// killed in, when the rename came before the kill).
TEST(SettingsCrashSafety, TwoWritersKilledWhileSavingKeepEachOthersKeys) {
  test::TempDir dir;
  const auto file = dir.File("Setting.ini");
  test::WriteFile(file, "; kept\n[Vantorel]\nbWelcomeScreen=0\n");
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    int pipes[2][2];
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
      ASSERT_EQ(::pipe(pipes[w]), 0);
      writers[w] = fork();
      ASSERT_GE(writers[w], 0);
      if (writers[w] == 0) {
        ::close(pipes[w][0]);
        WriteForever(file, w == 0, pipes[w][1]);
      }
      ::close(pipes[w][1]);
    }
    int first[2] = {0, 0};
    for (int w = 0; w < 2; ++w) ASSERT_EQ(::read(pipes[w][0], &first[w], sizeof(int)), 4);
    const int victim = round % 2;
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
    ::kill(writers[victim], SIGKILL);
    ::waitpid(writers[victim], nullptr, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
    ::kill(writers[1 - victim], SIGKILL);
    ::waitpid(writers[1 - victim], nullptr, 0);
    const int runSaved = std::max(first[0], LastReported(pipes[0][0]));
    const int dialogSaved = std::max(first[1], LastReported(pipes[1][0]));
    ::close(pipes[0][0]);
    ::close(pipes[1][0]);

    SettingsRecord loaded;
    LoadSettings(&loaded, file);
    const std::string content = test::ReadFile(file);
    const int run = loaded.nSelNTPServerIndex;
    EXPECT_TRUE(run == runSaved || run == runSaved + 1) << round << ": " << run << "\n" << content;
    EXPECT_EQ(loaded.nSelTimeZoneIndex, run % 75) << round << "\n" << content;
    ASSERT_TRUE(loaded.strServers.has_value()) << round << "\n" << content;
    const int dialog = std::atoi(loaded.strServers->c_str() + 1);
    EXPECT_TRUE(dialog == dialogSaved || dialog == dialogSaved + 1) << round << "\n" << content;
    EXPECT_EQ(loaded.nSelLanguageIndex, dialog % 2) << round << "\n" << content;
    EXPECT_EQ(loaded.bDST, dialog % 2) << round << "\n" << content;
    EXPECT_EQ(loaded.bWelcomeScreen, 0) << round;
    EXPECT_EQ(content.rfind("; kept\n", 0), 0u) << round;
  }
}

}  // namespace
}  // namespace vantorel
