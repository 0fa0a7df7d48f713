#include "answers/chip_choice.h"

#include <optional>
#include <string>

#include "engine/part_catalogue.h"
#include "engine/target_catalogue.h"

namespace tesmirol::answers {

ChipChoice ReadChipChoice(std::string_view nameGbk) {
  ChipChoice choice;
  // A part number as printed stands for its family.
  const std::string name = CatalogueChipName(nameGbk);
  if (const BaudTarget* target = FindBaudTarget(name)) {
    choice.chipTargets.push_back(target);
    return choice;
  }
  choice.chipTargets = FindFamilyTargets(name);
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

std::vector<const BaudTarget*> TargetsOfFirstUart(std::string_view nameGbk) {
  std::string uart;
  return TargetsOfChosenUart(ReadChipChoice(nameGbk), "", uart);
}

}  // namespace tesmirol::answers
