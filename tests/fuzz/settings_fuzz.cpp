// LoadSettings on a file of any bytes (UTF-8 or UTF-16): no crash, the record's rules hold, and a
// save of it loads back as the same record.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("vantorel-fuzz-" + std::to_string(::getpid()) + ".ini");
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  vantorel::SettingsRecord record;
  vantorel::LoadSettings(&record, file);
  if (record.nSelLanguageIndex != 0 && record.nSelLanguageIndex != 1) __builtin_trap();
  if (record.strServers && (record.strServers->empty() || record.bDefualtServers != 0))
    __builtin_trap();
  if (record.bTimeZoneUnset != 0 && record.nSelTimeZoneIndex != -1) __builtin_trap();
  record.loaded = nullptr;  // every key is written, not only the changed ones
  if (!vantorel::SaveSettings(&record, false, file)) return 0;
  vantorel::SettingsRecord again;
  vantorel::LoadSettings(&again, file);
  // A saved "no zone" reads back as the stored number -1 (resolved like no zone later on);
  // every other value comes back as it was.
  again.bTimeZoneUnset = record.bTimeZoneUnset;
  // Text after a line break or NUL cannot survive in a one-line value; the rest must.
  if (!record.strServers ||
      record.strServers->find_first_of(std::string("\r\n\0", 3)) == std::string::npos) {
    if (!(again == record)) __builtin_trap();
  }
  return 0;
}
