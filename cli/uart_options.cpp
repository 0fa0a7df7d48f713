// What --uart allows: the chip it plans on, each UART once, and the forms
// each mode takes.

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/mode_options.h"
#include "cli/uart_requests.h"
#include "cli/utf8_text.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {
namespace {

std::size_t CountWithoutRate(const std::vector<UartChoice>& uarts) {
  return static_cast<std::size_t>(
      std::count_if(uarts.begin(), uarts.end(), [](const UartChoice& choice) { return !choice.baud; }));
}

// Every UART the chip has, each asked for once.
std::optional<std::string> CheckUartsOfChip(const std::string& chip, const std::vector<UartChoice>& uarts,
                                            Language language) {
  for (std::size_t index = 0; index < uarts.size(); ++index) {
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
      if (uarts[earlier].uart == uarts[index].uart) {
        return Utf8Text(language, TextKey::UsageUartTwice,
                        {{"uart", uarts[index].uart}, {"first", uarts[earlier].given}, {"second", uarts[index].given}});
      }
    }
  }
  if (const BaudTarget* target = FindBaudTarget(chip)) {
    const auto other = std::find_if(uarts.begin(), uarts.end(),
                                    [target](const UartChoice& choice) { return choice.uart != target->uart; });
    if (other != uarts.end()) {
      return Utf8Text(language, TextKey::UsageUartNotOfTarget,
                      {{"given", other->given},
                       {"target", target->name},
                       {"targetUart", target->uart},
                       {"uart", other->uart},
                       {"families", JoinNames(target->families)}});
    }
    return std::nullopt;
  }
  const std::vector<std::string> names = UartNames(ChipTargets(chip));
  for (const UartChoice& choice : uarts) {
    if (std::find(names.begin(), names.end(), choice.uart) == names.end()) {
      return Utf8Text(language, TextKey::UsageUartNotOfChip,
                      {{"given", choice.given}, {"chip", chip}, {"uarts", JoinNames(names)}});
    }
  }
  return std::nullopt;
}

// The forms of --uart the mode takes.
std::optional<std::string> CheckUartForms(const GivenOptions& given, const CommandLineOptions& options) {
  const std::size_t withoutRate = CountWithoutRate(options.uarts);
  if (given.rule->view == View::FindClock) {
    return std::nullopt;  // settled with the mode
  }
  if (given.rule->view == View::Rates) {
    if (options.uarts.size() != 1 || withoutRate != 1) {
      return Utf8Text(options.language, TextKey::UsageRatesOneUart);
    }
    return std::nullopt;
  }
  if (given.rule->view == View::Table) {
    if (withoutRate == 0) {
      if (given.valueCount > 1) {
        return Utf8Text(options.language, TextKey::UsageTableUartCrystalOnly);
      }
      return std::nullopt;
    }
    if (options.uarts.size() != 1) {
      return Utf8Text(options.language, TextKey::UsageTableOneUart);
    }
    return std::nullopt;
  }
  if (withoutRate == 0 && given.valueCount > 1) {
    return Utf8Text(options.language, TextKey::UsageBaudWithUartRates);
  }
  return std::nullopt;
}

}  // namespace

bool IsPlanTable(const CommandLineOptions& options) noexcept {
  return !options.uarts.empty() && CountWithoutRate(options.uarts) == 0;
}

std::optional<std::string> CheckUartOptions(const GivenOptions& given, const CommandLineOptions& options) {
  if (options.uarts.empty()) {
    return std::nullopt;
  }
  if (!given.rule->uart) {
    return Utf8Text(options.language, TextKey::UsageUartNotWith, {{"option", std::string(given.rule->option)}});
  }
  if (!options.target) {
    return Utf8Text(options.language, TextKey::UsageUartNeedsTarget, {{"families", JoinNames(BaudTargetFamilies())}});
  }
  if (auto problem = CheckUartsOfChip(*options.target, options.uarts, options.language)) {
    return problem;
  }
  return CheckUartForms(given, options);
}

}  // namespace tesmirol::cli
