// The server list coding on any text: no empty name comes out, and joining what was split
// splits back to the same names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<vantorel::ServerEntry> entries = vantorel::SplitServerList(text);
  std::vector<std::string> names;
  for (const auto& entry : entries) {
    if (entry.host.empty() || entry.zoneCode != 0 || entry.host.find(';') != std::string::npos)
      __builtin_trap();
    names.push_back(entry.host);
  }
  const auto again = vantorel::SplitServerList(vantorel::JoinServerList(names));
  if (again.size() != entries.size()) __builtin_trap();
  for (size_t i = 0; i < again.size(); ++i) {
    if (again[i].host != names[i]) __builtin_trap();
  }
  return 0;
}
