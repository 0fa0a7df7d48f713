// The listings: the preset lists and the target catalogue.

#include "cli/mode_options.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {

std::optional<std::string> SettleListingMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return Utf8Text(options.language, TextKey::UsageListingTakesNoValues,
                    {{"option", std::string(given.rule->option)}});
  }
  options.action = given.rule->view == View::ListTargets ? CommandAction::ListTargets : CommandAction::ListPresets;
  return std::nullopt;
}

}  // namespace tesmirol::cli
