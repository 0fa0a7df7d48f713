#include "cli/locale_language.h"

#include <algorithm>
#include <array>

namespace tesmirol::cli {

Language LocaleLanguage(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) noexcept {
  const std::array variables = {lcAll, lcMessages, lang};
  const auto* const chosen =
      std::find_if(variables.begin(), variables.end(), [](std::string_view locale) { return !locale.empty(); });
  return chosen != variables.end() && chosen->starts_with("en") ? Language::English : Language::Chinese;
}

}  // namespace tesmirol::cli
