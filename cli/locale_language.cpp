#include "cli/locale_language.h"

namespace tesmirol::cli {

Language LocaleLanguage(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) noexcept {
  for (const std::string_view locale : {lcAll, lcMessages, lang}) {
    if (!locale.empty()) {
      return locale.starts_with("en") ? Language::English : Language::Chinese;
    }
  }
  return Language::Chinese;
}

}  // namespace tesmirol::cli
