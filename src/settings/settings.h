#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_file.h"
#include "settings/language.h"

namespace vantorel {

inline constexpr std::string_view kSettingsFileName = "Setting.ini";
inline constexpr std::string_view kSettingsSection = "Vantorel";

// The in-memory image of the settings section; every owner keeps its own copy.
struct SettingsRecord {
  int32_t nSelLanguageIndex = 0;    // 0 English, 1 Chinese
  int32_t nSelNTPServerIndex = -1;  // -1: the server is chosen automatically
  int32_t nSelTimeZoneIndex = -1;   // zone table row, -1: none
  uint16_t bDefualtServers = 1;     // the built-in server list is in use
  uint16_t bWelcomeScreen = 1;
  uint16_t bDST = 0;
  uint16_t bTimeZoneUnset = 1;  // no usable zone row stored: follow the host's zone
  // The user's server list text; empty (nullopt) while the built-in list is in use, else
  // never an empty string.
  std::optional<std::string> strServers;

  // The values as this record read them from the file (its copies share them): a save writes
  // only the keys whose values differ, so a key that another writer saved in the meantime
  // (the settings dialog during a calibration run) survives. Null for a record that was not
  // read from a file: its save writes every key. A save moves it to the values it wrote,
  // which is why it can change on a record that is otherwise const.
  mutable std::shared_ptr<const SettingsRecord> loaded;

  // The values alone: where a record came from does not make it another record.
  friend bool operator==(const SettingsRecord& a, const SettingsRecord& b) {
    return a.nSelLanguageIndex == b.nSelLanguageIndex &&
           a.nSelNTPServerIndex == b.nSelNTPServerIndex &&
           a.nSelTimeZoneIndex == b.nSelTimeZoneIndex && a.bDefualtServers == b.bDefualtServers &&
           a.bWelcomeScreen == b.bWelcomeScreen && a.bDST == b.bDST &&
           a.bTimeZoneUnset == b.bTimeZoneUnset && a.strServers == b.strServers;
  }
};

struct ServerEntry {
  int32_t zoneCode = 0;  // 12 + the server's UTC offset in whole hours; 0 for the user's
  std::string host;

  friend bool operator==(const ServerEntry&, const ServerEntry&) = default;
};

struct DefaultServer {
  int32_t zoneCode;
  std::string_view host;
};

// Large public time services that answer a short burst of queries from one client.
inline constexpr std::string_view kLastResortServer = "time.google.com";
inline constexpr std::string_view kFallbackServer = "north-america.pool.ntp.org";

// Eleven servers in a fixed order, ended by an entry with an empty host.
inline constexpr std::array<DefaultServer, 12> kDefaultServers = {{
    {5, "us.pool.ntp.org"},   // United States
    {4, kLastResortServer},   // Google, Mountain View (anycast)
    {6, kFallbackServer},     // North America
    {9, "a.st1.ntp.br"},      // NTP.br, Sao Paulo
    {12, "uk.pool.ntp.org"},  // United Kingdom
    {13, "ptbtime1.ptb.de"},  // PTB, Braunschweig
    {15, "ntp.ix.ru"},        // MSK-IX, Moscow
    {20, "ntp.aliyun.com"},   // Alibaba Cloud, Hangzhou
    {21, "ntp.nict.jp"},      // NICT, Tokyo
    {22, "au.pool.ntp.org"},  // Australia
    {14, "fi.pool.ntp.org"},  // Finland
    {0, ""},
}};
inline constexpr size_t kDefaultServerCount = kDefaultServers.size() - 1;

// The built-in list as a run uses it: the eleven servers with their zone codes.
std::vector<ServerEntry> BuiltInServers();

struct SettingsLocation {
  std::filesystem::path file;      // where the settings are read and saved
  std::filesystem::path seedFrom;  // a file to copy there first, when there is none yet
  friend bool operator==(const SettingsLocation&, const SettingsLocation&) = default;
};

// "Setting.ini" beside the executable when it can be written there (a portable install);
// otherwise in the user's configuration folder, $XDG_CONFIG_HOME/vantorel (~/.config/vantorel
// by default; %APPDATA%\vantorel on Windows), so an installed program keeps its settings,
// seeded from a readable file beside the program that cannot be written (read-only, or in a
// folder the user may not write). Decided once a process, and the move to the user's folder
// logged then. Empty when nothing can be told.
std::filesystem::path SettingsFilePath();
// The choice, on given facts about the file beside the program.
SettingsLocation ChooseSettingsFile(const std::filesystem::path& executableDir,
                                    const platform::FileAccess& beside, const char* xdgConfigHome,
                                    const char* home);
// The choice on the machine's files, with the seeding done.
std::filesystem::path ResolveSettingsFile(const std::filesystem::path& executableDir,
                                          const char* xdgConfigHome, const char* home);

// Never fails: a missing or unreadable file, section, key or malformed value gives the
// default. The file is read and parsed once, so every value comes from one version of it.
// A null record does nothing.
void LoadSettings(SettingsRecord* record);
void LoadSettings(SettingsRecord* record, const std::filesystem::path& file);

// Writes the record (its values unchanged) into the section: every key for a record not read
// from a file, else the keys whose values differ from those it read. With serverListChanged
// the stored server position is -1. Failed writes are logged only. A null record does
// nothing.
void SaveSettings(const SettingsRecord* record, bool serverListChanged);
bool SaveSettings(const SettingsRecord* record, bool serverListChanged,
                  const std::filesystem::path& file);

// The coding of the user's server list: names joined by ";", empty names skipped on reading.
std::vector<ServerEntry> SplitServerList(std::string_view text);
std::string JoinServerList(const std::vector<std::string>& hosts);

}  // namespace vantorel
