#include "cli/usage_text.h"

#include <array>

#include "cli/utf8_text.h"

namespace tesmirol::cli {

std::string UsageFooter(Language language) {
  constexpr std::array kParagraphs = {
      TextKey::HelpFooterInputs,    TextKey::HelpFooterCode,   TextKey::HelpFooterTable,
      TextKey::HelpFooterExamples,  TextKey::HelpFooterTarget, TextKey::HelpFooterUart,
      TextKey::HelpFooterFindClock, TextKey::LinkUsage,        TextKey::HelpFooterStatus};
  std::string footer;
  for (const TextKey paragraph : kParagraphs) {
    footer += footer.empty() ? "" : "\n";
    footer += Utf8Text(language, paragraph);
    footer += '\n';
  }
  return footer;
}

}  // namespace tesmirol::cli
