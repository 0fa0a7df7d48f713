// The rates of one reload value (--reload).

#include "cli/mode_options.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {

std::optional<std::string> SettleReloadMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 1) {
    return Utf8Text(options.language, TextKey::UsageReloadCrystalOnly);
  }
  options.action = CommandAction::ReloadRates;
  return std::nullopt;
}

}  // namespace tesmirol::cli
