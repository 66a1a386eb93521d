#pragma once

#include <cstdint>

namespace vantorel {

// The two languages of every window; the settings file stores their index.
enum class Language : int32_t { kEnglish = 0, kChinese = 1 };

// The stored index read leniently, as the windows always have: 1 is Chinese, anything else
// (a damaged or future value) English.
constexpr Language LanguageOf(int32_t index) {
  return index == static_cast<int32_t>(Language::kChinese) ? Language::kChinese
                                                           : Language::kEnglish;
}
constexpr int32_t IndexOf(Language language) {
  return static_cast<int32_t>(language);
}

// A language list's row: English first, then Chinese.
constexpr Language LanguageOfRow(int row) {
  return row != 0 ? Language::kChinese : Language::kEnglish;
}

// The one of two wordings, pictures or values that belongs to the language.
template <typename T>
constexpr T InLanguage(Language language, T english, T chinese) {
  return language == Language::kChinese ? chinese : english;
}

}  // namespace vantorel
