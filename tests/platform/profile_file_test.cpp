#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vantorel::platform {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ProfileFileRead, FindsValuesTheWayTheFileSaysThem) {
  struct Case {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"plain", "[S]\nk=v\n", "S", "k", "v"},
      {"crlf", "[S]\r\nk=v\r\nx=y\r\n", "S", "k", "v"},
      {"bom", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
      {"no final newline", "[S]\nk=v", "S", "k", "v"},
      {"names ignore case", "[vAnToReL]\nBDST=1\n", "Vantorel", "bDST", "1"},
      {"blanks trimmed", "  [ S ]  \n  k  =  v w  \n", "S", "k", "v w"},
      {"first duplicate wins", "[S]\nk=first\nk=second\n", "S", "k", "first"},
      {"other section", "[T]\nk=t\n[S]\nk=s\n", "S", "k", "s"},
      {"key in other section only", "[T]\nk=t\n[S]\n", "S", "k", std::nullopt},
      {"key before any section", "k=v\n[S]\n", "S", "k", std::nullopt},
      {"comment is not a key", "[S]\n;k=v\n#k=w\n", "S", "k", std::nullopt},
      {"line without equals", "[S]\nk\nk=v\n", "S", "k", "v"},
      {"empty value", "[S]\nk=\n", "S", "k", ""},
      {"equals in value", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"value cut at NUL", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
      {"blanks before a NUL trimmed", std::string("[S]\nk=ab\t\0cd\n", 13), "S", "k", "ab"},
      {"section header unclosed", "[S\nk=v\n", "S", "k", "v"},
      {"empty file", "", "S", "k", std::nullopt},
      {"utf-8 value", "[S]\nk=时间;ntp\n", "S", "k", "时间;ntp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProfileFile::ReadFrom(c.content, c.section, c.key), c.expected) << c.name;
  }
}

TEST(ProfileFileRead, SurvivesGarbageAndHugeLines) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  EXPECT_EQ(ProfileFile::ReadFrom(garbage + "\n[S]\nk=v\n", "S", "k"), "v");

  const std::string huge(1 << 20, 'x');
  EXPECT_EQ(ProfileFile::ReadFrom("[S]\nk=" + huge + "\nj=1\n", "S", "k"), huge);
  EXPECT_EQ(ProfileFile::ReadFrom("[S]\n" + huge + "\nj=1\n", "S", "j"), "1");
}

TEST(ProfileFileWrite, EditsOnlyTheKeysItWrites) {
  struct Case {
    const char* name;
    std::string before;
    ProfileFile::KeyValues values;
    std::string after;
  };
  const Case cases[] = {
      {"new file", "", {{"a", "1"}, {"b", "2"}}, "[S]\na=1\nb=2\n"},
      {"replace in place",
       "; note\n[S]\na=old\nb=2\n",
       {{"a", "new"}},
       "; note\n[S]\na=new\nb=2\n"},
      {"replace other case", "[s]\nA=old\n", {{"a", "new"}}, "[s]\na=new\n"},
      {"append to section", "[S]\na=1\n\n[T]\nx=9\n", {{"b", "2"}}, "[S]\na=1\nb=2\n\n[T]\nx=9\n"},
      {"new section after others", "[T]\nx=9\n", {{"a", "1"}}, "[T]\nx=9\n\n[S]\na=1\n"},
      {"crlf kept", "[S]\r\na=1\r\n", {{"a", "2"}, {"b", "3"}}, "[S]\r\na=2\r\nb=3\r\n"},
      {"final newline added", "[S]\na=1", {{"b", "2"}}, "[S]\na=1\nb=2\n"},
      {"line break in value stays one line", "", {{"a", "x\ny\rz"}}, "[S]\na=x y z\n"},
      {"comments in section kept", "[S]\n;c\na=1\n", {{"a", "2"}}, "[S]\n;c\na=2\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[S]\na=1\n", {{"a", "2"}}, "\xEF\xBB\xBF[S]\na=2\n"},
      {"a doubled mark keeps its meaning",
       "\xEF\xBB\xBF\xEF\xBB\xBF[S]\na=1\n",
       {{"a", "2"}},
       "\xEF\xBB\xBF\xEF\xBB\xBF[S]\na=1\n\n[S]\na=2\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProfileFile::WriteInto(c.before, "S", c.values), c.after) << c.name;
  }
}

TEST(ProfileFileWrite, ReadsBackWhatItWroteAndLeavesNoTemporaryFile) {
  TempDir dir;
  const ProfileFile file(dir.File("Setting.ini"));
  EXPECT_EQ(file.Read("S", "k"), std::nullopt);
  ASSERT_TRUE(file.Write("S", "k", "värde"));
  ASSERT_TRUE(file.Write("S", "j", "2"));
  EXPECT_EQ(file.Read("S", "k"), "värde");
  EXPECT_EQ(file.Read("s", "J"), "2");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(ProfileFileWrite, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
  TempDir dir;
  const ProfileFile file(dir.File("missing") / "Setting.ini");
  EXPECT_FALSE(file.Write("S", "k", "v"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(ProfileFileWrite, ConcurrentWritersLoseNoKey) {
  TempDir dir;
  const ProfileFile file(dir.File("Setting.ini"));
  WriteFile(file.Path(), "; kept\n[Other]\nx=1\n");
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) file.Write("S", "k" + std::to_string(t), std::to_string(i));
    });
  }
  for (auto& w : writers) w.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(file.Read("S", "k" + std::to_string(t)), "49");
  EXPECT_EQ(file.Read("Other", "x"), "1");
  EXPECT_EQ(ReadFile(file.Path()).rfind("; kept\n", 0), 0u);
}

}  // namespace
}  // namespace vantorel::platform
