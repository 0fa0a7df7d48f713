#include "engine/target_catalogue.h"

#include <algorithm>
#include <iterator>

#include "engine/part_catalogue.h"
#include "engine/target_catalogue_records.h"

namespace tesmirol {
namespace {

// ASCII letters only: names and families are ASCII by construction.
bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    return lower(x) == lower(y);
  });
}

// The words of a record's list, separated by blanks.
std::vector<std::string> Words(std::string_view list) {
  std::vector<std::string> words;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(' '), list.size());
    if (end > 0) {
      words.emplace_back(list.substr(0, end));
    }
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return words;
}

BaudTarget TargetOf(const TargetRecord& record) {
  return BaudTarget{
      .name = std::string(record.name),
      .uart = std::string(record.uart),
      .function = std::string(record.function),
      .timer = std::string(record.timer),
      .families = Words(record.families),
      .chips = std::string(record.chips),
      .source = std::string(record.source),
      .generator = record.generator,
      .clockSelect = record.clockSelect,
      .clockFast = record.clockFast,
      .clocksPerCycle = record.clocks.front().clocksPerCycle,
      .divider = record.clocks.front().divider,
      .clocks = {record.clocks.begin(), record.clocks.end()},
      .reloadBits = record.reloadBits,
      .smodDoubles = record.smodDoubles,
      .reloadRegisters = Words(record.reloadRegisters),
      .registers = std::string(record.registers),
      .formula = std::string(record.formula),
      .clockSteps = {record.clockSteps.begin(), record.clockSteps.end()},
  };
}

}  // namespace

std::span<const BaudTarget> BaudTargets() {
  static const std::vector<BaudTarget> targets = [] {
    const std::span<const TargetRecord> records = TargetRecords();
    std::vector<BaudTarget> read;
    read.reserve(records.size());
    std::transform(records.begin(), records.end(), std::back_inserter(read), TargetOf);
    return read;
  }();
  return targets;
}

const BaudTarget* FindBaudTarget(std::string_view name) {
  for (const BaudTarget& target : BaudTargets()) {
    if (SameName(target.name, name)) {
      return &target;
    }
  }
  return nullptr;
}

std::vector<const BaudTarget*> FindFamilyTargets(std::string_view family) {
  std::vector<const BaudTarget*> targets;
  for (const BaudTarget& target : BaudTargets()) {
    if (std::any_of(target.families.begin(), target.families.end(),
                    [family](const std::string& name) { return SameName(name, family); })) {
      targets.push_back(&target);
    }
  }
  return targets;
}

std::vector<std::string> UartNames(std::span<const BaudTarget* const> targets) {
  std::vector<std::string> names;
  for (const BaudTarget* target : targets) {
    if (std::find(names.begin(), names.end(), target->uart) == names.end()) {
      names.push_back(target->uart);
    }
  }
  return names;
}

std::vector<const BaudTarget*> TargetsOfUart(std::span<const BaudTarget* const> targets, std::string_view uart) {
  std::vector<const BaudTarget*> ofUart;
  std::copy_if(targets.begin(), targets.end(), std::back_inserter(ofUart),
               [uart](const BaudTarget* target) { return SameName(target->uart, uart); });
  return ofUart;
}

std::vector<const BaudTarget*> FindBaudTargets(std::string_view nameOrFamily) {
  if (const BaudTarget* target = FindBaudTarget(nameOrFamily)) {
    return {target};
  }
  std::vector<const BaudTarget*> family = FindFamilyTargets(nameOrFamily);
  if (family.empty()) {
    return family;
  }
  return TargetsOfUart(family, family.front()->uart);
}

std::optional<std::string> CanonicalUartName(std::string_view given) {
  std::string_view digits = given;
  if (given.size() > 4 && SameName(given.substr(0, 4), "UART")) {
    digits = given.substr(4);
  }
  if (digits.size() != 1 || digits[0] < '0' || digits[0] > '9') {
    return std::nullopt;
  }
  return "UART" + std::string(digits);
}

std::vector<std::string> BaudTargetFamilies() {
  std::vector<std::string> families;
  for (const BaudTarget& target : BaudTargets()) {
    for (const std::string& family : target.families) {
      if (std::find(families.begin(), families.end(), family) == families.end()) {
        families.push_back(family);
      }
    }
  }
  return families;
}

std::optional<ChipMemory> DriverChipMemory(std::string_view given) {
  // A part number stands for its family's record.
  const std::string nameOrFamily = CatalogueChipName(given);
  const auto family = [](std::string_view name) -> const ChipFamily* {
    const std::span<const ChipFamily> families = ChipFamilies();
    const auto found = std::find_if(families.begin(), families.end(),
                                    [name](const ChipFamily& each) { return SameName(each.name, name); });
    return found == families.end() ? nullptr : &*found;
  };
  if (const BaudTarget* target = FindBaudTarget(nameOrFamily)) {
    std::optional<ChipMemory> smallest;
    for (const std::string& name : target->families) {
      const ChipFamily* record = family(name);
      if (record == nullptr) {
        continue;
      }
      const ChipMemory& memory = record->memory;
      if (!smallest || memory.iramBytes < smallest->iramBytes ||
          (memory.iramBytes == smallest->iramBytes && memory.xramBytes < smallest->xramBytes)) {
        smallest = memory;
      }
    }
    return smallest;
  }
  const ChipFamily* record = family(nameOrFamily);
  return record == nullptr ? std::nullopt : std::optional(record->memory);
}

bool DividesByReloadCount(const BaudTarget& target) noexcept {
  return target.generator != GeneratorKind::CcUsart && target.generator != GeneratorKind::AducT3;
}

std::string_view GeneratorKindName(GeneratorKind kind) noexcept {
  switch (kind) {
    case GeneratorKind::Timer2Rcap:
      return "timer2-rcap";
    case GeneratorKind::Stc15Timer2:
      return "stc15-timer2";
    case GeneratorKind::Stc15Timer1Mode0:
      return "stc15-timer1-mode0";
    case GeneratorKind::Stc12Brt:
      return "stc12-brt";
    case GeneratorKind::StcTimer3:
      return "stc-timer3";
    case GeneratorKind::StcTimer4:
      return "stc-timer4";
    case GeneratorKind::N76Timer3:
      return "n76-timer3";
    case GeneratorKind::Ch55xSbaud1:
      return "ch55x-sbaud1";
    case GeneratorKind::SilabsTimer1:
      return "silabs-timer1";
    case GeneratorKind::CcUsart:
      return "cc-usart";
    case GeneratorKind::Efm8Uart1:
      return "efm8-uart1";
    case GeneratorKind::NrfS0rel:
      return "nrf-s0rel";
    case GeneratorKind::AtmelBrg:
      return "atmel-brg";
    case GeneratorKind::AducT3:
      return "aduc-t3";
    case GeneratorKind::Timer1Mode2:
      break;
  }
  return "timer1-mode2";
}

std::string_view ClockSelectName(ClockSelect clock) noexcept {
  switch (clock) {
    case ClockSelect::AuxrT1x12:
      return "auxr-t1x12";
    case ClockSelect::AuxrT2x12:
      return "auxr-t2x12";
    case ClockSelect::AuxrBrtx12:
      return "auxr-brtx12";
    case ClockSelect::CkconT1M:
      return "ckcon-t1m";
    case ClockSelect::T4t3mT3x12:
      return "t4t3m-t3x12";
    case ClockSelect::T4t3mT4x12:
      return "t4t3m-t4x12";
    case ClockSelect::T3conT3ps:
      return "t3con-t3ps";
    case ClockSelect::T2modT1Clk:
      return "t2mod-t1clk";
    case ClockSelect::CkconSca:
      return "ckcon-sca";
    case ClockSelect::UxgcrBaudE:
      return "uxgcr-e";
    case ClockSelect::Sbcon1Bps:
      return "sbcon1-bps";
    case ClockSelect::BdrconSpd:
      return "bdrcon-spd";
    case ClockSelect::T3conDiv:
      return "t3con-div";
    case ClockSelect::Fixed:
      break;
  }
  return "fixed";
}

}  // namespace tesmirol
