// The rates of one reload value (--reload).

#include "cli/mode_options.h"

namespace tesmirol::cli {

std::optional<std::string> SettleReloadMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 1) {
    return "--reload takes CRYSTAL only, no BAUD";
  }
  options.action = CommandAction::ReloadRates;
  return std::nullopt;
}

}  // namespace tesmirol::cli
