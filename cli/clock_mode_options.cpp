// The clock finder's mode: --find-clock LIST on one UART, or --find-clock
// with --uart NAME:RATE for each UART of a plan.

#include <algorithm>

#include "cli/mode_options.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {

std::optional<std::string> SettleClockMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return "--find-clock takes no CRYSTAL or BAUD: the clock is what it finds (--clock-range LOW..HIGH says where)";
  }
  if (!options.target) {
    return "--find-clock needs --target: a target or a chip family (" + JoinNames(BaudTargetFamilies()) + ")";
  }
  const bool everyRate =
      std::all_of(options.uarts.begin(), options.uarts.end(), [](const UartChoice& choice) { return choice.baud; });
  if (options.rates.empty() && (options.uarts.empty() || !everyRate)) {
    return "--find-clock needs a list of rates (--find-clock 9600,115200) or --uart NAME:RATE for every UART "
           "of a plan";
  }
  if (!options.rates.empty() && (options.uarts.size() > 1 || (options.uarts.size() == 1 && options.uarts[0].baud))) {
    return "--find-clock LIST takes at most one --uart NAME without a rate (the UART switched between the rates); "
           "for a plan give --find-clock alone with --uart NAME:RATE for every UART";
  }
  options.action = CommandAction::FindClocks;
  return std::nullopt;
}

}  // namespace tesmirol::cli
