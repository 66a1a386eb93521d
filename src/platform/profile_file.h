#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::platform {

// An INI file of sections and key=value lines, UTF-8, LF or CRLF. Section and key names
// match without regard to ASCII case; values are trimmed of blanks. A write keeps every
// other line of the file and replaces the file as a whole (new file, then rename), under
// one process-wide lock, so a reader or a crash never sees half a file.
class ProfileFile {
 public:
  using KeyValues = std::vector<std::pair<std::string, std::string>>;

  explicit ProfileFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return m_path; }

  // The first value of the key in the section, or nothing when the file, the section or
  // the key is absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets every key in one replacement of the file. False when the file cannot be
  // written; the old file then stays as it was.
  bool Write(std::string_view section, const KeyValues& values) const;
  bool Write(std::string_view section, std::string_view key, std::string_view value) const;

  // The parsing and editing, on text, for callers and tests that hold the content.
  static std::optional<std::string> ReadFrom(std::string_view content, std::string_view section,
                                             std::string_view key);
  static std::string WriteInto(std::string_view content, std::string_view section,
                               const KeyValues& values);

 private:
  std::filesystem::path m_path;
};

}  // namespace vantorel::platform
