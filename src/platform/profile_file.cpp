#include "platform/profile_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/log.h"

namespace vantorel::platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::mutex& FileLock() {
  static std::mutex lock;
  return lock;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file without its line feed; a carriage return before it is kept apart
// so a CRLF file stays CRLF.
struct Line {
  std::string_view text;
  bool crlf = false;
};

std::vector<Line> SplitLines(std::string_view content) {
  if (content.substr(0, kBom.size()) == kBom) content.remove_prefix(kBom.size());
  std::vector<Line> lines;
  while (!content.empty()) {
    const auto end = content.find('\n');
    std::string_view text = content.substr(0, end);
    Line line;
    if (end != std::string_view::npos && !text.empty() && text.back() == '\r') {
      text.remove_suffix(1);
      line.crlf = true;
    }
    line.text = text;
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
  return lines;
}

// The section a header line names, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() == ';' || line.front() == '#' || line.front() == '[') {
    return std::nullopt;
  }
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// A value is one line: a line break inside it would add lines to the file.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return out;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string* content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *content = std::move(buffer).str();
  return true;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

std::optional<std::string> ProfileFile::ReadFrom(std::string_view content, std::string_view section,
                                                 std::string_view key) {
  bool inSection = false;
  for (const Line& line : SplitLines(content)) {
    if (auto name = SectionOf(line.text)) {
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto entry = KeyOf(line.text); entry && EqualsNoCase(entry->key, key)) {
      // Text after a NUL byte is not part of the value, as for any C string; the blanks
      // before it are trimmed like any value's.
      return std::string(Trim(entry->value.substr(0, entry->value.find('\0'))));
    }
  }
  return std::nullopt;
}

std::string ProfileFile::WriteInto(std::string_view content, std::string_view section,
                                   const KeyValues& values) {
  std::vector<Line> lines = SplitLines(content);
  const bool crlf = !lines.empty() && lines.front().crlf;
  std::deque<std::string>
      owned;  // texts of the lines this write makes; a deque keeps them in place

  auto makeLine = [&](std::string text) {
    owned.push_back(std::move(text));
    return Line{owned.back(), crlf};
  };

  // The first section of that name; keys go after its last non-blank line.
  std::optional<size_t> header;
  size_t insertAt = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionOf(lines[i].text)) {
      if (header) break;
      if (EqualsNoCase(*name, section)) {
        header = i;
        insertAt = i + 1;
      }
      continue;
    }
    if (header && !Trim(lines[i].text).empty()) insertAt = i + 1;
  }

  if (!header) {
    if (!lines.empty() && !Trim(lines.back().text).empty()) lines.push_back(makeLine(""));
    lines.push_back(makeLine(std::string("[").append(section).append("]")));
    insertAt = lines.size();
  }

  for (const auto& [key, value] : values) {
    const std::string text = key + "=" + OneLine(value);
    bool replaced = false;
    if (header) {
      for (size_t i = *header + 1; i < lines.size() && !SectionOf(lines[i].text); ++i) {
        if (auto entry = KeyOf(lines[i].text); entry && EqualsNoCase(entry->key, key)) {
          lines[i] = Line{makeLine(text).text, lines[i].crlf};
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), makeLine(text));
      ++insertAt;
    }
  }

  // A byte-order mark stays: without it a second mark behind it would become the first.
  std::string out(content.substr(0, kBom.size()) == kBom ? kBom : std::string_view{});
  size_t size = out.size();
  for (const Line& line : lines) size += line.text.size() + 2;
  out.reserve(size);
  for (const Line& line : lines) {
    out += line.text;
    out += line.crlf ? "\r\n" : "\n";
  }
  return out;
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  std::string content;
  {
    std::lock_guard guard(FileLock());
    if (!ReadWholeFile(m_path, &content)) return std::nullopt;
  }
  return ReadFrom(content, section, key);
}

bool ProfileFile::Write(std::string_view section, std::string_view key,
                        std::string_view value) const {
  return Write(section, KeyValues{{std::string(key), std::string(value)}});
}

bool ProfileFile::Write(std::string_view section, const KeyValues& values) const {
  static std::atomic<unsigned> counter{0};
  std::lock_guard guard(FileLock());

  std::string content;
  ReadWholeFile(m_path, &content);  // a missing file is an empty one
  const std::string updated = WriteInto(content, section, values);

  std::filesystem::path temporary = m_path;
  temporary += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    Log("cannot write %s: %s", temporary.c_str(), std::strerror(errno));
    return false;
  }
  // The data reaches the disk before the rename makes it the file: a crash then leaves
  // either the old or the new file, never an empty one.
  const bool ok = WriteAll(fd, updated) && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || ::rename(temporary.c_str(), m_path.c_str()) != 0) {
    Log("cannot replace %s: %s", m_path.c_str(), std::strerror(errno));
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vantorel::platform
