#include "settings/settings.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/executable_dir.h"
#include "platform/log.h"
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

// The record's own values become the ones it knows the file to hold (with the automatic
// server choice a save after a change of the server list stored).
void Rebase(const SettingsRecord& record, bool serverListChanged = false) {
  SettingsRecord values = record;
  values.loaded = nullptr;  // one level: a record's history is not kept
  if (serverListChanged) values.nSelNTPServerIndex = -1;
  record.loaded = std::make_shared<const SettingsRecord>(std::move(values));
}

}  // namespace

SettingsLocation ChooseSettingsFile(const std::filesystem::path& executableDir,
                                    const platform::FileAccess& beside, const char* xdgConfigHome,
                                    const char* home) {
  const std::filesystem::path besideFile =
      executableDir.empty() ? std::filesystem::path{} : executableDir / kSettingsFileName;
  if (!besideFile.empty() && beside.writable) return {besideFile, {}};
  std::filesystem::path config;
  const auto absolute = [](const char* path) {
    return path != nullptr && std::filesystem::path(path).is_absolute();
  };
  if (absolute(xdgConfigHome)) {
    config = xdgConfigHome;
  } else if (absolute(home)) {
    config = std::filesystem::path(home) / ".config";
  } else {
    return {besideFile, {}};  // nowhere else: saves there fail, and are logged
  }
  const bool seed = !besideFile.empty() && beside.exists && beside.readable;
  return {config / "vantorel" / kSettingsFileName, seed ? besideFile : std::filesystem::path{}};
}

std::filesystem::path ResolveSettingsFile(const std::filesystem::path& executableDir,
                                          const char* xdgConfigHome, const char* home) {
  const platform::FileAccess beside =
      executableDir.empty() ? platform::FileAccess{}
                            : platform::ProfileFile::Probe(executableDir / kSettingsFileName);
  const SettingsLocation location = ChooseSettingsFile(executableDir, beside, xdgConfigHome, home);
  if (location.seedFrom.empty()) return location.file;
  platform::Log("%s cannot be written: the settings are kept in %s",
                platform::PathText(location.seedFrom).c_str(),
                platform::PathText(location.file).c_str());
  if (!platform::ProfileFile::Probe(location.file).exists) {
    std::error_code error;
    std::filesystem::create_directories(location.file.parent_path(), error);
    if (!platform::ProfileFile(location.file).CopyFrom(location.seedFrom)) {
      platform::Log("cannot copy %s to %s", platform::PathText(location.seedFrom).c_str(),
                    platform::PathText(location.file).c_str());
    }
  }
  return location.file;
}

std::filesystem::path SettingsFilePath() {
  static const std::filesystem::path chosen = ResolveSettingsFile(
      platform::ExecutableDir(), platform::UserConfigHome(), std::getenv("HOME"));
  return chosen;
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
  const platform::ProfileFile::Content content = platform::ProfileFile(file).Load();
  auto read = [&](std::string_view key) {
    return platform::ProfileFile::ReadFrom(content.text, kSettingsSection, key);
  };

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
  if (content.state == platform::ProfileFile::State::kRead) Rebase(*record);
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
  const SettingsRecord* base = record->loaded.get();
  auto changed = [&](auto SettingsRecord::*field) {
    return base == nullptr || record->*field != base->*field;
  };
  platform::ProfileFile::KeyValues values;
  auto put = [&](const char* key, bool write, std::string value) {
    if (write) values.emplace_back(key, std::move(value));
  };
  put("bWelcomeScreen", changed(&SettingsRecord::bWelcomeScreen), FlagText(record->bWelcomeScreen));
  put("bDST", changed(&SettingsRecord::bDST), FlagText(record->bDST));
  put("bDefualtServers", changed(&SettingsRecord::bDefualtServers),
      FlagText(record->bDefualtServers));
  put("nSelLanguageIndex", changed(&SettingsRecord::nSelLanguageIndex),
      std::to_string(record->nSelLanguageIndex));
  put("nSelTimeZoneIndex", changed(&SettingsRecord::nSelTimeZoneIndex),
      std::to_string(record->nSelTimeZoneIndex));
  put("nSelNTPServerIndex", serverListChanged || changed(&SettingsRecord::nSelNTPServerIndex),
      serverListChanged ? "-1" : std::to_string(record->nSelNTPServerIndex));
  if (record->strServers) {
    put("strServers", changed(&SettingsRecord::strServers), *record->strServers);
  }
  if (!values.empty() && !platform::ProfileFile(file).Write(kSettingsSection, values)) {
    return false;
  }
  Rebase(*record, serverListChanged);
  return true;
}

std::vector<ServerEntry> BuiltInServers() {
  std::vector<ServerEntry> servers;
  for (size_t i = 0; i < kDefaultServerCount; ++i) {
    servers.push_back({kDefaultServers[i].zoneCode, std::string(kDefaultServers[i].host)});
  }
  return servers;
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
