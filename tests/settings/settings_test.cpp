#include "settings/settings.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "platform/profile_file.h"
#include "support/temp_dir.h"
#if !defined(_WIN32)
#include "support/unprivileged.h"
#endif

namespace vantorel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

SettingsRecord LoadFrom(const std::string& content, bool create = true) {
  TempDir dir;
  if (create) WriteFile(dir.File("Setting.ini"), content);
  SettingsRecord record;
  record.nSelLanguageIndex = 9;  // Load must start from a cleared record
  record.strServers = "stale";
  LoadSettings(&record, dir.File("Setting.ini"));
  return record;
}

TEST(LoadSettings, MissingOrBrokenFilesGiveTheDefaults) {
  const SettingsRecord defaults;
  struct Case {
    const char* name;
    std::string content;
    bool create;
  };
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131) % 256);
  const Case cases[] = {
      {"no file", "", false},
      {"empty file", "", true},
      {"other section only", "[Other]\nbDST=1\nnSelLanguageIndex=1\n", true},
      {"binary garbage", garbage, true},
      {"a line of 1 MB", "[Vantorel]\n" + std::string(1 << 20, '=') + "\n", true},
  };
  for (const Case& c : cases) {
    const SettingsRecord r = LoadFrom(c.content, c.create);
    EXPECT_EQ(r, defaults) << c.name;
  }
  EXPECT_EQ(defaults.nSelLanguageIndex, 0);
  EXPECT_EQ(defaults.nSelNTPServerIndex, -1);
  EXPECT_EQ(defaults.nSelTimeZoneIndex, -1);
  EXPECT_EQ(defaults.bTimeZoneUnset, 1);
  EXPECT_EQ(defaults.bDST, 0);
  EXPECT_EQ(defaults.bWelcomeScreen, 1);
  EXPECT_EQ(defaults.bDefualtServers, 1);
  EXPECT_FALSE(defaults.strServers.has_value());
}

TEST(LoadSettings, EachValueParsesAsStored) {
  struct Case {
    const char* line;
    int32_t SettingsRecord::*number;
    int32_t expected;
  };
  const Case numbers[] = {
      {"nSelLanguageIndex=1", &SettingsRecord::nSelLanguageIndex, 1},
      {"nSelLanguageIndex=2", &SettingsRecord::nSelLanguageIndex, 0},
      {"nSelLanguageIndex= 1 ", &SettingsRecord::nSelLanguageIndex, 1},
      {"nSelLanguageIndex=01", &SettingsRecord::nSelLanguageIndex, 0},
      {"nSelNTPServerIndex=3", &SettingsRecord::nSelNTPServerIndex, 3},
      {"nSelNTPServerIndex=-1", &SettingsRecord::nSelNTPServerIndex, -1},
      {"nSelNTPServerIndex=7abc", &SettingsRecord::nSelNTPServerIndex, 7},
      {"nSelNTPServerIndex=abc", &SettingsRecord::nSelNTPServerIndex, -1},
      {"nSelNTPServerIndex=99999999999", &SettingsRecord::nSelNTPServerIndex, -1},
      {"nSelTimeZoneIndex=12abc", &SettingsRecord::nSelTimeZoneIndex, 12},
      {"nSelTimeZoneIndex=abc", &SettingsRecord::nSelTimeZoneIndex, -1},
      {"nSelTimeZoneIndex=80", &SettingsRecord::nSelTimeZoneIndex, 80},  // resolved later, not here
      {"nSelTimeZoneIndex=-5", &SettingsRecord::nSelTimeZoneIndex, -5},
  };
  for (const Case& c : numbers) {
    const SettingsRecord r = LoadFrom(std::string("[Vantorel]\n") + c.line + "\n");
    EXPECT_EQ(r.*(c.number), c.expected) << c.line;
  }

  struct FlagCase {
    const char* line;
    uint16_t SettingsRecord::*flag;
    uint16_t expected;
  };
  const FlagCase flags[] = {
      {"bDST=1", &SettingsRecord::bDST, 1},
      {"bDST=\t1 ", &SettingsRecord::bDST, 1},
      {"bDST=", &SettingsRecord::bDST, 0},
      {"bDST=yes", &SettingsRecord::bDST, 0},
      {"bWelcomeScreen=0", &SettingsRecord::bWelcomeScreen, 0},
      {"bWelcomeScreen=yes", &SettingsRecord::bWelcomeScreen, 0},
      {"bWelcomeScreen=", &SettingsRecord::bWelcomeScreen, 1},
      {"bwelcomescreen=0", &SettingsRecord::bWelcomeScreen, 0},
      {"nSelTimeZoneIndex=12abc", &SettingsRecord::bTimeZoneUnset, 0},
      {"nSelTimeZoneIndex=abc", &SettingsRecord::bTimeZoneUnset, 1},
      {"nSelTimeZoneIndex=", &SettingsRecord::bTimeZoneUnset, 1},
  };
  for (const FlagCase& c : flags) {
    const SettingsRecord r = LoadFrom(std::string("[Vantorel]\n") + c.line + "\n");
    EXPECT_EQ(r.*(c.flag), c.expected) << c.line;
  }
}

TEST(LoadSettings, ServerListFollowsTheBuiltInFlag) {
  struct Case {
    const char* content;
    std::optional<std::string> servers;
    uint16_t builtIn;
  };
  const Case cases[] = {
      {"[Vantorel]\nbDefualtServers=0\nstrServers=a;b\n", "a;b", 0},
      {"[Vantorel]\nbDefualtServers=1\nstrServers=a;b\n", std::nullopt, 1},
      {"[Vantorel]\nstrServers=a;b\n", std::nullopt, 1},  // the flag defaults to the built-in list
      {"[Vantorel]\nbDefualtServers=0\n", std::nullopt, 1},
      {"[Vantorel]\nbDefualtServers=0\nstrServers=\n", std::nullopt, 1},
      {"[Vantorel]\nbDefualtServers=0\nstrServers=No Server\n", std::nullopt, 1},
      {"[Vantorel]\r\nbDefualtServers=0\r\nstrServers=x.example\r\n", "x.example", 0},
      {"\xEF\xBB\xBF[VANTOREL]\nBDEFUALTSERVERS=0\nSTRSERVERS=x\nstrServers=y\n", "x", 0},
  };
  for (const Case& c : cases) {
    const SettingsRecord r = LoadFrom(c.content);
    EXPECT_EQ(r.strServers, c.servers) << c.content;
    EXPECT_EQ(r.bDefualtServers, c.builtIn) << c.content;
  }
}

TEST(LoadSettings, LongServerListsReadBackWhole) {
  for (size_t length : {258u, 259u, 260u, 3898u, 20000u}) {
    std::string list;
    while (list.size() < length) list += "ntp" + std::to_string(list.size()) + ".example;";
    list.resize(length);
    if (list.back() == ';') list.back() = 'x';
    const SettingsRecord r = LoadFrom("[Vantorel]\nbDefualtServers=0\nstrServers=" + list + "\n");
    ASSERT_TRUE(r.strServers.has_value()) << length;
    EXPECT_EQ(*r.strServers, list) << length;
  }
}

TEST(SaveSettings, WritesTheWholeSectionAndKeepsTheRestOfTheFile) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  WriteFile(file, "; my notes\n[Other]\nx=1\n[Vantorel]\nstrServers=kept;list\nextra=9\n");
  SettingsRecord r;
  r.nSelLanguageIndex = 1;
  r.nSelNTPServerIndex = 4;
  r.nSelTimeZoneIndex = 56;
  r.bTimeZoneUnset = 0;
  r.bDST = 7;  // any non-zero flag is stored as 1
  r.bWelcomeScreen = 0;
  ASSERT_TRUE(SaveSettings(&r, false, file));
  EXPECT_EQ(
      ReadFile(file),
      "; my "
      "notes\n[Other]\nx=1\n[Vantorel]\nstrServers=kept;list\nextra=9\nbWelcomeScreen=0\nbDST=1\n"
      "bDefualtServers=1\nnSelLanguageIndex=1\nnSelTimeZoneIndex=56\nnSelNTPServerIndex=4\n");

  SettingsRecord back;
  LoadSettings(&back, file);
  r.bDST = 1;
  EXPECT_EQ(back, r);  // the kept list is ignored while the built-in list is on
}

TEST(SaveSettings, ServerListChangeStoresAutomaticChoice) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  SettingsRecord r;
  r.nSelNTPServerIndex = 5;
  r.bDefualtServers = 0;
  r.strServers = "a;b";
  ASSERT_TRUE(SaveSettings(&r, true, file));
  SettingsRecord back;
  LoadSettings(&back, file);
  EXPECT_EQ(back.nSelNTPServerIndex, -1);
  EXPECT_EQ(back.strServers, "a;b");
  EXPECT_EQ(back.bDefualtServers, 0);

  ASSERT_TRUE(SaveSettings(&r, false, file));
  LoadSettings(&back, file);
  EXPECT_EQ(back.nSelNTPServerIndex, 5);
}

TEST(SaveSettings, MakesTheSettingsFolderOnTheFirstSave) {
  TempDir dir;
  const auto file = dir.File("config") / "vantorel" / "Setting.ini";
  SettingsRecord r;
  r.nSelLanguageIndex = 1;
  ASSERT_TRUE(SaveSettings(&r, false, file));
  SettingsRecord back;
  LoadSettings(&back, file);
  EXPECT_EQ(back.nSelLanguageIndex, 1);
}

TEST(SaveSettings, NullRecordsDoNothing) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  EXPECT_FALSE(SaveSettings(nullptr, false, file));
  EXPECT_FALSE(std::filesystem::exists(file));
  const std::string kept = "[Vantorel]\nnSelLanguageIndex=1\n";
  WriteFile(file, kept);
  EXPECT_FALSE(SaveSettings(nullptr, true, file));
  LoadSettings(nullptr, file);
  EXPECT_EQ(ReadFile(file), kept);
}

// An absolute path's start on this system.
#if defined(_WIN32)
#define ROOT "C:/"
#else
#define ROOT "/"
#endif

TEST(SettingsFilePath, BesideTheProgramOrInTheUsersFolder) {
  const std::filesystem::path exe = ROOT "opt/vantorel";
  const std::filesystem::path beside = exe / "Setting.ini";
  using Access = platform::FileAccess;
  struct Case {
    const char* what;
    Access access;  // exists, readable, writable
    const char* xdg;
    const char* home;
    SettingsLocation expected;
  };
  const Case cases[] = {
      {"portable: a writable folder",
       {false, false, true},
       ROOT "xdg",
       ROOT "home/u",
       {beside, {}}},
      {"portable: a writable file", {true, true, true}, ROOT "xdg", ROOT "home/u", {beside, {}}},
      {"installed: XDG_CONFIG_HOME",
       {false, false, false},
       ROOT "xdg",
       ROOT "home/u",
       {ROOT "xdg/vantorel/Setting.ini", {}}},
      {"installed: ~/.config",
       {false, false, false},
       nullptr,
       ROOT "home/u",
       {ROOT "home/u/.config/vantorel/Setting.ini", {}}},
      {"relative XDG_CONFIG_HOME is ignored",
       {false, false, false},
       "rel",
       ROOT "home/u",
       {ROOT "home/u/.config/vantorel/Setting.ini", {}}},
      {"a file that cannot be written seeds the user's file",
       {true, true, false},
       ROOT "xdg",
       ROOT "home/u",
       {ROOT "xdg/vantorel/Setting.ini", beside}},
      {"an unreadable one seeds nothing",
       {true, false, false},
       ROOT "xdg",
       ROOT "home/u",
       {ROOT "xdg/vantorel/Setting.ini", {}}},
      {"nothing known: beside the program", {true, true, false}, nullptr, nullptr, {beside, {}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseSettingsFile(exe, c.access, c.xdg, c.home), c.expected) << c.what;
  }
}

#if !defined(_WIN32)  // the user's rights to a file: POSIX permissions
// A user who may not write the file beside the program keeps every choice in a file of their
// own, started from the one beside the program, which stays as it was.
TEST(SettingsFilePath, AFileBesideTheProgramThatCannotBeWrittenMovesToTheUsersFolder) {
  struct Case {
    const char* what;
    mode_t fileMode;
    mode_t folderMode;
  };
  const Case cases[] = {
      {"read-only file", 0444, 0777},
      {"folder the user may not write", 0644, 0755},
  };
  for (const Case& c : cases) {
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0777);
    const auto exe = dir.File("bin");
    std::filesystem::create_directories(exe);
    const std::string original = "; shipped\n[Vantorel]\nnSelLanguageIndex=1\nbWelcomeScreen=0\n";
    WriteFile(exe / "Setting.ini", original);
    ::chmod((exe / "Setting.ini").c_str(), c.fileMode);
    ::chmod(exe.c_str(), c.folderMode);
    const auto home = dir.File("home");
    const int result = test::RunUnprivileged([&] {
      const auto file = ResolveSettingsFile(exe, nullptr, home.c_str());
      if (file != home / ".config/vantorel/Setting.ini") return 1;
      SettingsRecord record;
      LoadSettings(&record, file);
      if (record.nSelLanguageIndex != 1 || record.bWelcomeScreen != 0) return 2;
      record.bDST = 1;
      if (!SaveSettings(&record, false, file)) return 3;
      SettingsRecord again;
      LoadSettings(&again, ResolveSettingsFile(exe, nullptr, home.c_str()));
      return again.bDST == 1 && again.nSelLanguageIndex == 1 ? 0 : 4;
    });
    EXPECT_EQ(result, 0) << c.what;
    EXPECT_EQ(ReadFile(exe / "Setting.ini"), original) << c.what;
    EXPECT_EQ(ReadFile(home / ".config/vantorel/Setting.ini").rfind("; shipped\n", 0), 0u);
  }
}
#endif

// The settings dialog's OK lands while a calibration run is under way; the run's own save at
// its end must not write its older language and servers back over the dialog's.
TEST(SaveSettings, TwoWritersKeepEachOthersKeys) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  WriteFile(file, "[Vantorel]\nnSelLanguageIndex=0\nbDST=0\nnSelNTPServerIndex=-1\n");
  SettingsRecord run;
  LoadSettings(&run, file);
  const SettingsRecord runCopy = run;  // the run works on a copy taken at its start
  SettingsRecord dialog;
  LoadSettings(&dialog, file);
  dialog.nSelLanguageIndex = 1;
  dialog.bDST = 1;
  dialog.bDefualtServers = 0;
  dialog.strServers = "own.example";
  ASSERT_TRUE(SaveSettings(&dialog, false, file));
  SettingsRecord runEnd = runCopy;
  runEnd.nSelNTPServerIndex = 4;
  ASSERT_TRUE(SaveSettings(&runEnd, false, file));
  SettingsRecord back;
  LoadSettings(&back, file);
  EXPECT_EQ(back.nSelLanguageIndex, 1);
  EXPECT_EQ(back.bDST, 1);
  EXPECT_EQ(back.strServers, "own.example");
  EXPECT_EQ(back.nSelNTPServerIndex, 4);

  // A later save of the same record knows what it wrote: going back to a value it read at
  // first is a change too.
  runEnd.nSelNTPServerIndex = -1;
  ASSERT_TRUE(SaveSettings(&runEnd, false, file));
  LoadSettings(&back, file);
  EXPECT_EQ(back.nSelNTPServerIndex, -1);
  EXPECT_EQ(back.nSelLanguageIndex, 1);
}

TEST(LoadSettings, ReadsAndSavesAFileInUtf16) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  const std::string text =
      "; \xE8\xAE\xBE\xE7\xBD\xAE\r\n[Vantorel]\r\nnSelLanguageIndex=1\r\nbWelcomeScreen=0\r\n"
      "nSelTimeZoneIndex=57\r\nbDefualtServers=0\r\nstrServers=a.example;b.example\r\n";
  WriteFile(file, platform::ProfileFile::Encode(text, platform::ProfileFile::Encoding::kUtf16Le));
  SettingsRecord record;
  LoadSettings(&record, file);
  EXPECT_EQ(record.nSelLanguageIndex, 1);
  EXPECT_EQ(record.bWelcomeScreen, 0);
  EXPECT_EQ(record.nSelTimeZoneIndex, 57);
  EXPECT_EQ(record.strServers, "a.example;b.example");
  record.bDST = 1;
  ASSERT_TRUE(SaveSettings(&record, false, file));
  const auto stored = platform::ProfileFile::Decode(ReadFile(file));
  EXPECT_EQ(stored.encoding, platform::ProfileFile::Encoding::kUtf16Le);
  EXPECT_EQ(stored.text.rfind("; \xE8\xAE\xBE\xE7\xBD\xAE\r\n[Vantorel]\r\n", 0), 0u);
  SettingsRecord back;
  LoadSettings(&back, file);
  EXPECT_EQ(back.bDST, 1);
  EXPECT_EQ(back.nSelTimeZoneIndex, 57);
}

TEST(ServerList, SplitAndJoin) {
  struct Case {
    const char* text;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"", {}},
      {";", {}},
      {";a;;b;", {"a", "b"}},
      {"a", {"a"}},
      {" a ; b", {" a ", " b"}},  // no blanks removed
      {"c;b;a", {"c", "b", "a"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> names;
    for (const ServerEntry& e : SplitServerList(c.text)) {
      EXPECT_EQ(e.zoneCode, 0);
      names.push_back(e.host);
    }
    EXPECT_EQ(names, c.names) << c.text;
  }
  EXPECT_EQ(JoinServerList({}), "");
  EXPECT_EQ(JoinServerList({"a"}), "a");
  EXPECT_EQ(JoinServerList({"a", "b", "c"}), "a;b;c");
  const std::string longName(200, 'n');  // names are kept whole, however long
  EXPECT_EQ(SplitServerList(JoinServerList({longName, "b"})).front().host, longName);
}

TEST(DefaultServers, ElevenHostsWithTheirZoneCodesThenAnEnd) {
  const int32_t codes[] = {5, 4, 6, 9, 12, 13, 15, 20, 21, 22, 14};
  ASSERT_EQ(kDefaultServerCount, 11u);
  for (size_t i = 0; i < kDefaultServerCount; ++i) {
    EXPECT_EQ(kDefaultServers[i].zoneCode, codes[i]) << i;
    EXPECT_FALSE(kDefaultServers[i].host.empty()) << i;
    EXPECT_LE(kDefaultServers[i].host.size(), 31u) << i;
  }
  EXPECT_TRUE(kDefaultServers[kDefaultServerCount].host.empty());
  EXPECT_EQ(kDefaultServers[2].host, kFallbackServer);
  EXPECT_EQ(kDefaultServers[1].host, kLastResortServer);
}

}  // namespace
}  // namespace vantorel
