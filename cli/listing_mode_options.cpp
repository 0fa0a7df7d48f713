// The listings: the preset lists and the target catalogue.

#include "cli/mode_options.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {

std::optional<std::string> SettleListingMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return Utf8Text(options.language, TextKey::UsageListingTakesNoValues, {{"option", given.view}});
  }
  options.action = given.view == "--list-targets" ? CommandAction::ListTargets : CommandAction::ListPresets;
  return std::nullopt;
}

}  // namespace tesmirol::cli
