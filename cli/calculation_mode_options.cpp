// The calculation's modes: the report (plain or --json), the build check
// (--max-error or --require-link alone) and the code alone (--code, -o).

#include "cli/mode_options.h"

namespace tesmirol::cli {

std::optional<std::string> SettleCalculationMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.rule->writesCode) {
    options.action = CommandAction::Code;
  } else if ((given.maxError || given.requireLink) && !given.json) {
    options.action = CommandAction::Check;
  } else {
    options.action = CommandAction::Report;
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
