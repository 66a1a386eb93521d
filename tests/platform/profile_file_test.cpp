#include "platform/profile_file.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <functional>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#if !defined(_WIN32)
#include "support/unprivileged.h"
#endif

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

int EntriesIn(const std::filesystem::path& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

#if !defined(_WIN32)
// Symbolic links and POSIX permissions: the C++ library makes no links on Windows, and there a
// file's read-only mark is its attribute (the test after these).

// Users who keep the file in a managed folder link it there: a save changes the managed file
// and the link stays a link.
TEST(ProfileFileWrite, WritesThroughSymbolicLinksToTheirTarget) {
  struct Case {
    const char* name;
    std::filesystem::path link;    // relative to the test folder
    std::filesystem::path target;  // the file the write must land in
    bool targetExists;
    std::function<void(const std::filesystem::path& root)> makeLinks;
  };
  namespace fs = std::filesystem;
  const Case cases[] = {
      {"absolute link", "app/Setting.ini", "managed/real.ini", true,
       [](const fs::path& root) {
         fs::create_symlink(root / "managed/real.ini", root / "app/Setting.ini");
       }},
      {"relative link", "app/Setting.ini", "managed/real.ini", true,
       [](const fs::path& root) {
         fs::create_symlink("../managed/real.ini", root / "app/Setting.ini");
       }},
      {"chain of two links", "app/Setting.ini", "managed/real.ini", true,
       [](const fs::path& root) {
         fs::create_symlink("real.ini", root / "managed/middle.ini");
         fs::create_symlink(root / "managed/middle.ini", root / "app/Setting.ini");
       }},
      {"dangling link: the target is made", "app/Setting.ini", "managed/real.ini", false,
       [](const fs::path& root) {
         fs::create_symlink(root / "managed/real.ini", root / "app/Setting.ini");
       }},
  };
  for (const Case& c : cases) {
    TempDir dir;
    fs::create_directories(dir.File("app"));
    fs::create_directories(dir.File("managed"));
    if (c.targetExists) WriteFile(dir.Path() / c.target, "; managed\n[S]\nk=old\n");
    c.makeLinks(dir.Path());
    const int managedBefore = EntriesIn(dir.File("managed"));
    ASSERT_TRUE(ProfileFile(dir.Path() / c.link).Write("S", "k", "new")) << c.name;
    EXPECT_TRUE(fs::is_symlink(dir.Path() / c.link)) << c.name;
    EXPECT_EQ(ProfileFile::ReadFrom(ReadFile(dir.Path() / c.target), "S", "k"), "new") << c.name;
    EXPECT_EQ(ProfileFile(dir.Path() / c.link).Read("S", "k"), "new") << c.name;
    if (c.targetExists) {
      EXPECT_EQ(ReadFile(dir.Path() / c.target).rfind("; managed\n", 0), 0u) << c.name;
    }
    EXPECT_EQ(EntriesIn(dir.File("app")), 1) << c.name << ": a temporary file was left";
    EXPECT_EQ(EntriesIn(dir.File("managed")), managedBefore + (c.targetExists ? 0 : 1)) << c.name;
  }
  TempDir dir;
  fs::create_symlink("b.ini", dir.File("a.ini"));
  fs::create_symlink("a.ini", dir.File("b.ini"));
  EXPECT_FALSE(ProfileFile(dir.File("a.ini")).Write("S", "k", "v")) << "a loop of links";
}

// A file the user may not read or may not write is never replaced: a save would lose every
// section it could not see, or overrule the user's read-only mark. Run as an unprivileged
// user, since root may read and write anything.
TEST(ProfileFileWrite, NeverReplacesAFileItMayNotReadOrWrite) {
  struct Case {
    const char* name;
    mode_t fileMode;
    mode_t folderMode;
    bool writes;
  };
  const Case cases[] = {
      {"unreadable file in a writable folder", 0200, 0777, false},
      {"unreadable and unwritable file", 0000, 0777, false},
      {"read-only file in a writable folder", 0444, 0777, false},
      {"read-only folder", 0644, 0555, false},
      {"readable, writable file: the control case", 0644, 0777, true},
  };
  const std::string before = "; every line of this file matters\n[Other]\nx=1\n[S]\nk=old\n";
  for (const Case& c : cases) {
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    const auto folder = dir.File("app");
    std::filesystem::create_directories(folder);
    const auto file = folder / "Setting.ini";
    WriteFile(file, before);
    ASSERT_EQ(::chown(file.c_str(), test::UnprivilegedUid(), test::UnprivilegedGid()), 0);
    ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
    ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
    const int wrote = test::RunUnprivileged([&] {
      const ProfileFile profile(file);
      return profile.Write("S", "k", "new") ? 1 : 0;
    });
    ASSERT_GE(wrote, 0) << c.name;
    EXPECT_EQ(wrote == 1, c.writes) << c.name;
    const std::string after = ReadFile(file);
    if (c.writes) {
      EXPECT_EQ(ProfileFile::ReadFrom(after, "S", "k"), "new") << c.name;
    } else {
      EXPECT_EQ(after, before) << c.name;
    }
    EXPECT_EQ(EntriesIn(folder), 1) << c.name;
  }
  // As root too: a folder where the file should be cannot be read as a file.
  TempDir dir;
  std::filesystem::create_directories(dir.File("Setting.ini"));
  EXPECT_FALSE(ProfileFile(dir.File("Setting.ini")).Write("S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Setting.ini")));
}

TEST(ProfileFileWrite, TheNewFileKeepsTheOldOnesOwnerAndMode) {
  TempDir dir;
  const auto file = dir.File("Setting.ini");
  WriteFile(file, "[S]\nk=old\n");
  const uid_t owner = ::geteuid() == 0 ? test::UnprivilegedUid() : ::geteuid();
  ASSERT_EQ(::chown(file.c_str(), owner, test::UnprivilegedGid()), 0);
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(ProfileFile(file).Write("S", "k", "new"));
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, owner);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ProfileFile(file).Read("S", "k"), "new");
}
#else
// The system's read-only mark is the user's word that the file stays as it is; a folder in the
// file's place cannot be read as one.
TEST(ProfileFileWrite, NeverReplacesAReadOnlyFile) {
  namespace fs = std::filesystem;
  const std::string before = "; every line of this file matters\n[Other]\nx=1\n[S]\nk=old\n";
  for (const bool readOnly : {true, false}) {
    TempDir dir;
    const auto file = dir.File("Setting.ini");
    WriteFile(file, before);
    if (readOnly)
      fs::permissions(file,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    EXPECT_EQ(ProfileFile::Probe(file).writable, !readOnly);
    EXPECT_EQ(ProfileFile(file).Write("S", "k", "new"), !readOnly);
    EXPECT_EQ(ProfileFile(file).Read("S", "k"), readOnly ? "old" : "new");
    EXPECT_EQ(EntriesIn(dir.Path()), 1) << "a temporary file was left";
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);  // so it can go
  }
  TempDir dir;
  fs::create_directories(dir.File("Setting.ini"));
  EXPECT_FALSE(ProfileFile(dir.File("Setting.ini")).Write("S", "k", "v"));
}
#endif

TEST(ProfileFileEncoding, Utf16LittleEndianReadsAndWritesBackAsItCame) {
  // "[S]\r\nk=时间\r\n" in UTF-16 LE with its byte-order mark, as the original platform saves.
  const std::string utf16(
      "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xF6\x65\xF4\x95\r\0\n\0"
      "\x3D\xD8\x00\xDE\r\0\n\0",
      32);
  struct Case {
    const char* name;
    std::string bytes;
    ProfileFile::Encoding encoding;
    std::string text;
  };
  const Case cases[] = {
      {"utf-16 with a character beyond the basic plane", utf16, ProfileFile::Encoding::kUtf16Le,
       "[S]\r\nk=\xE6\x97\xB6\xE9\x97\xB4\r\n\xF0\x9F\x98\x80\r\n"},
      {"utf-16: a lone surrogate and an odd last byte", std::string("\xFF\xFE\x00\xD8x\0y", 7),
       ProfileFile::Encoding::kUtf16Le, "\xEF\xBF\xBDx"},
      {"utf-8 stays bytes as they are", "[S]\nk=\xFF\n", ProfileFile::Encoding::kUtf8,
       "[S]\nk=\xFF\n"},
  };
  for (const Case& c : cases) {
    const ProfileFile::Content content = ProfileFile::Decode(c.bytes);
    EXPECT_EQ(content.encoding, c.encoding) << c.name;
    EXPECT_EQ(content.text, c.text) << c.name;
  }
  EXPECT_EQ(ProfileFile::Encode(cases[0].text, ProfileFile::Encoding::kUtf16Le), utf16);

  TempDir dir;
  const ProfileFile file(dir.File("Setting.ini"));
  WriteFile(file.Path(), utf16);
  EXPECT_EQ(file.Read("S", "k"), "\xE6\x97\xB6\xE9\x97\xB4");
  ASSERT_TRUE(file.Write("S", "j", "1"));
  const ProfileFile::Content back = ProfileFile::Decode(ReadFile(file.Path()));
  EXPECT_EQ(back.encoding, ProfileFile::Encoding::kUtf16Le);
  EXPECT_EQ(back.text, "[S]\r\nk=\xE6\x97\xB6\xE9\x97\xB4\r\n\xF0\x9F\x98\x80\r\nj=1\r\n");
}

}  // namespace
}  // namespace vantorel::platform
