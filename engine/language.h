#pragma once
// The languages the command line, the page and the generated code speak.
// The dialog and the manual speak Chinese only; the classic SIO_Init keeps
// its Chinese text unless English is asked for.

#include <optional>
#include <string_view>

namespace tesmirol {

enum class Language { Chinese, English };

// "zh" or "en": the name the command line's --lang and the page's address
// use.
constexpr std::string_view LanguageCode(Language language) noexcept {
  return language == Language::English ? "en" : "zh";
}

// The language a code names ("zh", "en"); no result for anything else.
constexpr std::optional<Language> LanguageFromCode(std::string_view code) noexcept {
  if (code == "zh") {
    return Language::Chinese;
  }
  if (code == "en") {
    return Language::English;
  }
  return std::nullopt;
}

}  // namespace tesmirol
