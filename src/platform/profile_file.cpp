#include "platform/profile_file.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/ascii_case.h"
#include "platform/file_ops.h"
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

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;
constexpr int kMaxLinkHops = 40;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16Le(std::string& out, char32_t c) {
  auto unit = [&](uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  if (c < 0x10000) {
    unit(c);
  } else {
    c -= 0x10000;
    unit(0xD800 | (c >> 10));
    unit(0xDC00 | (c & 0x3FF));
  }
}

// The next character of UTF-8 text; a byte that starts no valid sequence is one U+FFFD.
char32_t NextUtf8(std::string_view text, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  int length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    ++at;
    return kReplacement;
  }
  if (at + static_cast<size_t>(length) > text.size()) {
    ++at;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(at + static_cast<size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++at;
    return kReplacement;
  }
  at += static_cast<size_t>(length);
  return c;
}

// The file a path names after following every symbolic link, however dangling the last;
// nothing for a loop of links.
std::optional<std::filesystem::path> ResolveLinks(std::filesystem::path path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::is_symlink(status)) return path;
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

// The process-wide lock, and the folder's lock that other processes honour too.
class FolderLock {
 public:
  FolderLock(const std::filesystem::path& file, bool exclusive)
      : m_guard(FileLock()), m_folder(file, exclusive) {}

 private:
  std::lock_guard<std::mutex> m_guard;
  file_ops::FolderLock m_folder;
};

using file_ops::FolderOf;
using file_ops::RawFile;
using file_ops::ReadRaw;

// The checks before a file is replaced; false (with the reason logged) when it must not be.
bool MayReplace(const std::filesystem::path& target, const RawFile& old) {
  if (old.state == ProfileFile::State::kUnreadable) {
    Log("cannot read %s (%s): it is left as it is", PathText(target).c_str(), old.problem.c_str());
    return false;
  }
  if (old.state == ProfileFile::State::kRead && !file_ops::CanWrite(target)) {
    Log("%s is read-only: it is left as it is", PathText(target).c_str());
    return false;
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
      inSection = EqualsIgnoringCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto entry = KeyOf(line.text); entry && EqualsIgnoringCase(entry->key, key)) {
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
      if (EqualsIgnoringCase(*name, section)) {
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
        if (auto entry = KeyOf(lines[i].text); entry && EqualsIgnoringCase(entry->key, key)) {
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

ProfileFile::Content ProfileFile::Decode(std::string bytes) {
  Content content;
  content.state = State::kRead;
  if (bytes.substr(0, kUtf16LeBom.size()) != kUtf16LeBom) {
    content.text = std::move(bytes);
    return content;
  }
  content.encoding = Encoding::kUtf16Le;
  content.text.reserve(bytes.size());
  const auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  // An odd last byte is half a character: it is dropped like any broken sequence.
  for (size_t i = kUtf16LeBom.size(); i + 1 < bytes.size(); i += 2) {
    const char16_t first = unit(i);
    char32_t c = first;
    if (first >= 0xD800 && first <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (first >= 0xD800 && first <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(content.text, c);
  }
  return content;
}

std::string ProfileFile::Encode(std::string_view text, Encoding encoding) {
  if (encoding == Encoding::kUtf8) return std::string(text);
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::string out(kUtf16LeBom);
  out.reserve(2 + text.size() * 2);
  for (size_t at = 0; at < text.size();) AppendUtf16Le(out, NextUtf8(text, at));
  return out;
}

FileAccess ProfileFile::Probe(const std::filesystem::path& path) {
  FileAccess access;
  const auto target = ResolveLinks(path);
  if (!target) return access;
  std::error_code error;
  access.exists = std::filesystem::exists(*target, error);
  access.readable = access.exists && file_ops::CanRead(*target);
  access.writable =
      file_ops::CanCreateIn(FolderOf(*target)) && (!access.exists || file_ops::CanWrite(*target));
  return access;
}

ProfileFile::Content ProfileFile::Load() const {
  // Under the lock of the folder a writer would replace the file in: a link's target's.
  const std::filesystem::path target = ResolveLinks(m_path).value_or(m_path);
  RawFile raw;
  {
    FolderLock lock(target, false);
    raw = ReadRaw(target);
  }
  if (raw.state == State::kUnreadable) {
    Log("cannot read %s: %s", PathText(m_path).c_str(), raw.problem.c_str());
  }
  if (raw.state != State::kRead) return Content{raw.state, {}, Encoding::kUtf8};
  return Decode(std::move(raw.bytes));
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const Content content = Load();
  if (content.state != State::kRead) return std::nullopt;
  return ReadFrom(content.text, section, key);
}

bool ProfileFile::Write(std::string_view section, std::string_view key,
                        std::string_view value) const {
  return Write(section, KeyValues{{std::string(key), std::string(value)}});
}

bool ProfileFile::Write(std::string_view section, const KeyValues& values) const {
  return Replace([&](const Content& old) {
    return Encode(WriteInto(old.text, section, values), old.encoding);
  });
}

bool ProfileFile::CopyFrom(const std::filesystem::path& source) const {
  const Content content = ProfileFile(source).Load();
  if (content.state != State::kRead) return false;
  return Replace([&](const Content&) { return Encode(content.text, content.encoding); });
}

bool ProfileFile::Replace(const std::function<std::string(const Content& old)>& newBytes) const {
  const auto target = ResolveLinks(m_path);
  if (!target) {
    Log("cannot write %s: too many symbolic links", PathText(m_path).c_str());
    return false;
  }
  FolderLock lock(*target, true);
  RawFile old = ReadRaw(*target);
  if (!MayReplace(*target, old)) return false;
  const Content content = Decode(std::move(old.bytes));
  return file_ops::PutInPlace(*target, old, newBytes(content));
}

}  // namespace vantorel::platform
