#pragma once

#include <string_view>

namespace vantorel::platform {

// Equal but for the case of the ASCII letters, as the system's own case-blind comparison of
// names (zone keys, server names, INI sections and keys) is; other bytes match exactly, and a
// NUL inside a name is part of it.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace vantorel::platform
