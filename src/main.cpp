#include <cstdio>

#include "app/settings.h"
#include "platform/log.h"
#include "timezone/zone_time.h"

// Until the main window lands the program reports the settings it would start with.
int main() {
  vantorel::SettingsRecord settings;
  vantorel::LoadSettings(&settings);
  const int zone =
      vantorel::ResolveZoneIndex(settings.nSelTimeZoneIndex, settings.bTimeZoneUnset != 0);
  vantorel::platform::Log("settings from %s: language %d, zone row %d, DST %d, %s servers",
                          vantorel::SettingsFilePath().c_str(), settings.nSelLanguageIndex, zone,
                          settings.bDST, settings.bDefualtServers != 0 ? "built-in" : "own");
  std::puts("Vantorel: the main window is not built yet; nothing more to show.");
  return 0;
}
