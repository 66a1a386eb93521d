#include "app/settings.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/executable_dir.h"
#include "platform/profile_file.h"

namespace vantorel {
namespace {

constexpr std::string_view kNoServer = "No Server";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view TrimWhiteSpace(std::string_view text) {
  const auto first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// A decimal number from the start of the text, after blanks, as "%d" reads it; nothing for
// text that starts otherwise or a number beyond 32 bits.
std::optional<int32_t> LeadingInt(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

// A flag reads 1 only from "1" (blanks around it allowed); empty gives the default.
uint16_t ReadFlag(const std::optional<std::string>& value, uint16_t whenEmpty) {
  if (!value || value->empty()) return whenEmpty;
  return TrimWhiteSpace(*value) == "1" ? 1 : 0;
}

const char* FlagText(uint16_t flag) {
  return flag != 0 ? "1" : "0";
}

}  // namespace

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& executableDir,
                                         bool executableDirWritable, const char* xdgConfigHome,
                                         const char* home) {
  if (!executableDir.empty()) {
    const std::filesystem::path beside = executableDir / kSettingsFileName;
    std::error_code error;
    if (executableDirWritable || std::filesystem::exists(beside, error)) return beside;
  }
  std::filesystem::path config;
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    config = xdgConfigHome;
  } else if (home != nullptr && home[0] == '/') {
    config = std::filesystem::path(home) / ".config";
  } else {
    return executableDir.empty() ? std::filesystem::path{} : executableDir / kSettingsFileName;
  }
  return config / "vantorel" / kSettingsFileName;
}

std::filesystem::path SettingsFilePath() {
  const std::filesystem::path folder = platform::ExecutableDir();
  const bool writable = !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
  return ChooseSettingsFile(folder, writable, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

void LoadSettings(SettingsRecord* record) {
  if (record == nullptr) return;
  const std::filesystem::path file = SettingsFilePath();
  if (file.empty()) {
    *record = SettingsRecord{};
    return;
  }
  LoadSettings(record, file);
}

void LoadSettings(SettingsRecord* record, const std::filesystem::path& file) {
  if (record == nullptr) return;
  *record = SettingsRecord{};
  const platform::ProfileFile profile(file);
  auto read = [&](std::string_view key) { return profile.Read(kSettingsSection, key); };

  if (const auto value = read("nSelNTPServerIndex"); value && !value->empty()) {
    record->nSelNTPServerIndex = LeadingInt(*value).value_or(-1);
  }
  record->bWelcomeScreen = ReadFlag(read("bWelcomeScreen"), 1);
  record->bDST = ReadFlag(read("bDST"), 0);
  record->nSelLanguageIndex = ReadFlag(read("nSelLanguageIndex"), 0);
  if (const auto value = read("nSelTimeZoneIndex"); value && !value->empty()) {
    if (const auto index = LeadingInt(*value)) {
      record->nSelTimeZoneIndex = *index;
      record->bTimeZoneUnset = 0;
    }
  }
  record->bDefualtServers = ReadFlag(read("bDefualtServers"), 1);

  // The whole list is kept however long it is: a list cut short here would be written back
  // cut by the next save.
  std::string servers = read("strServers").value_or(std::string(kNoServer));
  if (servers == kNoServer) servers.clear();
  if (servers.empty() || record->bDefualtServers != 0) {
    record->bDefualtServers = 1;
  } else {
    record->strServers = std::move(servers);
  }
}

void SaveSettings(const SettingsRecord* record, bool serverListChanged) {
  if (record == nullptr) return;
  const std::filesystem::path file = SettingsFilePath();
  if (file.empty()) return;
  SaveSettings(record, serverListChanged, file);
}

bool SaveSettings(const SettingsRecord* record, bool serverListChanged,
                  const std::filesystem::path& file) {
  if (record == nullptr) return false;
  // The user's own settings folder is made on the first save, whoever saves first.
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  platform::ProfileFile::KeyValues values = {
      {"bWelcomeScreen", FlagText(record->bWelcomeScreen)},
      {"bDST", FlagText(record->bDST)},
      {"bDefualtServers", FlagText(record->bDefualtServers)},
      {"nSelLanguageIndex", std::to_string(record->nSelLanguageIndex)},
      {"nSelTimeZoneIndex", std::to_string(record->nSelTimeZoneIndex)},
      {"nSelNTPServerIndex", serverListChanged ? "-1" : std::to_string(record->nSelNTPServerIndex)},
  };
  if (record->strServers) values.emplace_back("strServers", *record->strServers);
  return platform::ProfileFile(file).Write(kSettingsSection, values);
}

std::vector<ServerEntry> SplitServerList(std::string_view text) {
  std::vector<ServerEntry> entries;
  while (!text.empty()) {
    const auto end = text.find(';');
    const std::string_view name = text.substr(0, end);
    if (!name.empty()) entries.push_back(ServerEntry{0, std::string(name)});
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return entries;
}

std::string JoinServerList(const std::vector<std::string>& hosts) {
  std::string text;
  for (const std::string& host : hosts) {
    if (&host != &hosts.front()) text += ';';
    text += host;
  }
  return text;
}

}  // namespace vantorel
