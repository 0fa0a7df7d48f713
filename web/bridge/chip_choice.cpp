#include "web/bridge/chip_choice.h"

#include <optional>

#include "engine/target_catalogue.h"

namespace tesmirol::web {

ChipChoice ReadChipChoice(std::string_view nameGbk) {
  ChipChoice choice;
  if (const BaudTarget* target = FindBaudTarget(nameGbk)) {
    choice.chipTargets.push_back(target);
    return choice;
  }
  choice.chipTargets = FindFamilyTargets(nameGbk);
  choice.family = !choice.chipTargets.empty();
  return choice;
}

std::vector<const BaudTarget*> TargetsOfChosenUart(const ChipChoice& choice, std::string_view uartGbk,
                                                   std::string& uart) {
  if (choice.chipTargets.empty()) {
    return {};
  }
  if (uartGbk.empty()) {
    uart = choice.chipTargets.front()->uart;
  } else if (const std::optional<std::string> canonical = CanonicalUartName(uartGbk)) {
    uart = *canonical;
  } else {
    return {};
  }
  return TargetsOfUart(choice.chipTargets, uart);
}

}  // namespace tesmirol::web
