#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/settings.h"
#include "support/temp_dir.h"

namespace vantorel {
namespace {

SettingsRecord Whole(int n) {
  SettingsRecord record;
  record.nSelLanguageIndex = n;
  record.nSelTimeZoneIndex = 20 + n;
  record.bTimeZoneUnset = 0;
  record.nSelNTPServerIndex = 3 + n;
  record.bDST = static_cast<uint16_t>(n);
  record.bWelcomeScreen = static_cast<uint16_t>(1 - n);
  record.bDefualtServers = 0;
  record.strServers = n == 0 ? "zero.example" : "one.example;two.example";
  return record;
}

// A load that meets a save sees the file before it or after it, never keys of both.
TEST(LoadSettings, AReadThatMeetsASaveGivesOneVersion) {
  test::TempDir dir;
  const auto file = dir.File("Setting.ini");
  const SettingsRecord versions[2] = {Whole(0), Whole(1)};
  ASSERT_TRUE(SaveSettings(&versions[0], false, file));
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 1; i <= 400; ++i) {
      const SettingsRecord record = Whole(i % 2);  // not read from the file: every key is written
      SaveSettings(&record, false, file);
    }
    done = true;
  });
  int loads = 0;
  int mixed = 0;
  while (!done) {
    SettingsRecord loaded;
    LoadSettings(&loaded, file);
    ++loads;
    if (!(loaded == versions[0] || loaded == versions[1])) ++mixed;
  }
  writer.join();
  EXPECT_EQ(mixed, 0) << "of " << loads << " loads";
  EXPECT_GT(loads, 0);
}

}  // namespace
}  // namespace vantorel
