// The listings: the preset lists and the target catalogue.

#include "cli/mode_options.h"

namespace tesmirol::cli {

std::optional<std::string> SettleListingMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return given.view + " takes no CRYSTAL or BAUD";
  }
  options.action = given.view == "--list-targets" ? CommandAction::ListTargets : CommandAction::ListPresets;
  return std::nullopt;
}

}  // namespace tesmirol::cli
