// What --uart allows: the chip it plans on, each UART once, and the forms
// each mode takes.

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/mode_options.h"
#include "cli/uart_requests.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {
namespace {

std::size_t CountWithoutRate(const std::vector<UartChoice>& uarts) {
  return static_cast<std::size_t>(
      std::count_if(uarts.begin(), uarts.end(), [](const UartChoice& choice) { return !choice.baud; }));
}

// Every UART the chip has, each asked for once.
std::optional<std::string> CheckUartsOfChip(const std::string& chip, const std::vector<UartChoice>& uarts) {
  for (std::size_t index = 0; index < uarts.size(); ++index) {
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
      if (uarts[earlier].uart == uarts[index].uart) {
        return "--uart " + uarts[index].uart + " is given twice (\"" + uarts[earlier].given + "\" and \"" +
               uarts[index].given + "\"); each UART takes one rate";
      }
    }
  }
  if (const BaudTarget* target = FindBaudTarget(chip)) {
    const auto other = std::find_if(uarts.begin(), uarts.end(),
                                    [target](const UartChoice& choice) { return choice.uart != target->uart; });
    if (other != uarts.end()) {
      return "--uart \"" + other->given + "\": the target " + target->name + " drives " + target->uart + ", not " +
             other->uart + " (to plan " + other->uart + ", give its chip family: " + JoinNames(target->families) + ")";
    }
    return std::nullopt;
  }
  const std::vector<std::string> names = UartNames(ChipTargets(chip));
  for (const UartChoice& choice : uarts) {
    if (std::find(names.begin(), names.end(), choice.uart) == names.end()) {
      return "--uart \"" + choice.given + "\": " + chip + " has " + JoinNames(names);
    }
  }
  return std::nullopt;
}

// The forms of --uart the mode takes.
std::optional<std::string> CheckUartForms(const GivenOptions& given, const CommandLineOptions& options) {
  const std::size_t withoutRate = CountWithoutRate(options.uarts);
  if (given.view == "--find-clock") {
    return std::nullopt;  // settled with the mode
  }
  if (given.view == "--rates") {
    if (options.uarts.size() != 1 || withoutRate != 1) {
      return "--rates takes one --uart NAME without a rate: the UART whose generators must give every rate of "
             "the list";
    }
    return std::nullopt;
  }
  if (given.view == "--table") {
    if (withoutRate == 0) {
      if (given.valueCount > 1) {
        return "--table with --uart NAME:RATE takes CRYSTAL only, no BAUD (the rates are the --uart rates)";
      }
      return std::nullopt;
    }
    if (options.uarts.size() != 1) {
      return "--table takes one --uart NAME (the table of that UART's generators) or --uart NAME:RATE for "
             "every UART (the plan on each crystal)";
    }
    return std::nullopt;
  }
  if (withoutRate == 0 && given.valueCount > 1) {
    return "BAUD is given but every --uart has its own rate (--uart NAME without a rate runs at BAUD)";
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
  if (given.view == "--reload" || given.view == "--list-presets" || given.view == "--list-targets") {
    return "--uart cannot be given with " + given.view;
  }
  if (!options.target) {
    return "--uart needs --target: a chip family (" + JoinNames(BaudTargetFamilies()) + ") or a target of that UART";
  }
  if (auto problem = CheckUartsOfChip(*options.target, options.uarts)) {
    return problem;
  }
  return CheckUartForms(given, options);
}

}  // namespace tesmirol::cli
