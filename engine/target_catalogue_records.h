#pragma once
// The target catalogue as the build writes it from res/targets.txt: one
// constant record a target, read into the catalogue's BaudTargets once, at
// first use. Records rather than BaudTargets written out in full keep the
// compiled catalogue to its data: the program carries no code per target.

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/baud_target.h"

namespace tesmirol {

struct TargetRecord {
  std::string_view name;
  std::string_view uart;
  std::string_view function;
  std::string_view timer;
  std::string_view families;  // the chip families, separated by blanks
  std::string_view chips;
  std::string_view source;
  GeneratorKind generator = GeneratorKind::Timer1Mode2;
  ClockSelect clockSelect = ClockSelect::Fixed;
  bool clockFast = false;
  std::span<const ClockChoice> clocks;  // at least one
  std::uint32_t reloadBits = 8;
  bool smodDoubles = true;
  std::string_view reloadRegisters;  // high byte first, separated by blanks
  std::string_view registers;
  std::string_view formula;
  std::span<const std::uint64_t> clockSteps;
};

// Every target's record, in the catalogue's order.
std::span<const TargetRecord> TargetRecords() noexcept;

}  // namespace tesmirol
