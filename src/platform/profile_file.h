#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::platform {

// What a save may do with a file (a symbolic link: with its target).
struct FileAccess {
  bool exists = false;
  bool readable = false;
  // The file can be replaced: its folder takes a new file, and the file itself (when there
  // is one) is not read-only. A read-only file is the user's word that it stays as it is.
  bool writable = false;
};

// An INI file of sections and key=value lines, UTF-8 or UTF-16 LE with a byte-order mark,
// LF or CRLF. Section and key names match without regard to ASCII case; values are trimmed of
// blanks. A write keeps every other line of the file and its encoding, and replaces the file
// as a whole (new file, then rename) under a lock that every reader and writer of the folder
// takes, in this process and in others, so nobody sees half a file or loses a key to a writer
// that met it. A symbolic link stays a link: its target is what gets replaced.
class ProfileFile {
 public:
  using KeyValues = std::vector<std::pair<std::string, std::string>>;

  enum class Encoding { kUtf8, kUtf16Le };
  enum class State { kRead, kMissing, kUnreadable };
  struct Content {
    State state = State::kMissing;
    std::string text;  // UTF-8
    Encoding encoding = Encoding::kUtf8;
  };

  explicit ProfileFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return m_path; }

  // The whole file in one read, under the writers' lock, so all values come from one version.
  Content Load() const;

  // The first value of the key in the section, or nothing when the file, the section or
  // the key is absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets every key in one replacement of the file. False when the file cannot be read (it
  // is then never replaced: what it holds would be lost), is read-only, or cannot be written;
  // the old file stays as it was.
  bool Write(std::string_view section, const KeyValues& values) const;
  bool Write(std::string_view section, std::string_view key, std::string_view value) const;

  // Makes this file a copy of another one, in the same encoding. False when that one cannot
  // be read or this one cannot be written.
  bool CopyFrom(const std::filesystem::path& source) const;

  static FileAccess Probe(const std::filesystem::path& path);

  // The parsing and editing, on text, for callers and tests that hold the content.
  static std::optional<std::string> ReadFrom(std::string_view content, std::string_view section,
                                             std::string_view key);
  static std::string WriteInto(std::string_view content, std::string_view section,
                               const KeyValues& values);
  // Bytes as stored to UTF-8 text and back; bytes that do not code a character become U+FFFD.
  static Content Decode(std::string bytes);
  static std::string Encode(std::string_view text, Encoding encoding);

 private:
  // The one way the file changes: under the writers' lock, the new bytes made from what the
  // file (a link's target) holds now, put in its place at once. False, and the file left as
  // it is, when it cannot be read, is read-only or cannot be written.
  bool Replace(const std::function<std::string(const Content& old)>& newBytes) const;

  std::filesystem::path m_path;
};

}  // namespace vantorel::platform
