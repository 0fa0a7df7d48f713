// The clock finder's mode: --find-clock LIST on one UART, or --find-clock
// with --uart NAME:RATE for each UART of a plan.

#include <algorithm>
#include <vector>

#include "answers/clock_finder_answer.h"
#include "cli/mode_options.h"
#include "cli/utf8_text.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {

std::optional<std::string> SettleClockMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return Utf8Text(options.language, TextKey::ClockNoValues);
  }
  if (!options.target) {
    return Utf8Text(options.language, TextKey::ClockNeedsTarget, {{"families", JoinNames(BaudTargetFamilies())}});
  }
  if (!answers::ClockFinderCovers(*options.target)) {
    return Utf8Text(options.language, TextKey::ClockNotCovered, {{"target", *options.target}});
  }
  const bool everyRate =
      std::all_of(options.uarts.begin(), options.uarts.end(), [](const UartChoice& choice) { return choice.baud; });
  if (options.rates.empty() && (options.uarts.empty() || !everyRate)) {
    return Utf8Text(options.language, TextKey::ClockNeedsRates);
  }
  if (!options.rates.empty() && (options.uarts.size() > 1 || (options.uarts.size() == 1 && options.uarts[0].baud))) {
    return Utf8Text(options.language, TextKey::ClockOneUart);
  }
  options.action = CommandAction::FindClocks;
  return std::nullopt;
}

}  // namespace tesmirol::cli
