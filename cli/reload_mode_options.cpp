// The rates of one reload value (--reload), compared with BAUD when it is
// given; the positional values are CRYSTAL and BAUD as in every mode.

#include "cli/mode_options.h"

namespace tesmirol::cli {

std::optional<std::string> SettleReloadMode(const GivenOptions& /*given*/, CommandLineOptions& options) {
  options.action = CommandAction::ReloadRates;
  return std::nullopt;
}

}  // namespace tesmirol::cli
