#pragma once
// What the fuzz targets of the planner, the clock finder and the link check
// share: an input cut into the texts of several options, the chip an input
// names, and the check that a setting's rate is the one its registers give.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "fuzz/fuzz_check.h"

namespace tesmirol::fuzz {

// Cuts the input at its NUL bytes into count texts, the options' values in a
// fixed order; missing ones are empty and bytes after the last are dropped.
// No argument on a command line can hold a NUL, so every other byte reaches
// the texts.
inline std::vector<std::string_view> SplitFields(std::string_view input, std::size_t count) {
  std::vector<std::string_view> fields(count);
  for (std::size_t index = 0; index < count && !input.empty(); ++index) {
    const std::size_t nul = input.find('\0');
    fields[index] = input.substr(0, nul);
    input.remove_prefix(nul == std::string_view::npos ? input.size() : nul + 1);
  }
  return fields;
}

// The texts of the words in text separated by blanks, at most limit of them:
// the values of an option given several times (--uart 1:9600 --uart 2:4800).
inline std::vector<std::string_view> Words(std::string_view text, std::size_t limit) {
  std::vector<std::string_view> words;
  while (words.size() < limit) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
      break;
    }
    text.remove_prefix(start);
    const std::size_t end = text.find(' ');
    words.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
  }
  return words;
}

// The chip's targets as --target names them (a target alone or a family);
// for a name the catalogue does not hold, one of its families picked by the
// name's bytes, so that every input reaches the search behind it.
inline std::vector<const BaudTarget*> PickChip(std::string_view name) {
  if (const BaudTarget* target = FindBaudTarget(name)) {
    return {target};
  }
  std::vector<const BaudTarget*> family = FindFamilyTargets(name);
  if (!family.empty()) {
    return family;
  }
  static const std::vector<std::string> families = BaudTargetFamilies();
  const std::size_t sum = std::accumulate(name.begin(), name.end(), std::size_t{0}, [](std::size_t total, char ch) {
    return total + static_cast<unsigned char>(ch);
  });
  return FindFamilyTargets(families.at(sum % families.size()));
}

// Whether the target is one of the chip's.
inline bool IsOneOf(const BaudTarget* target, const std::vector<const BaudTarget*>& chip) {
  return std::find(chip.begin(), chip.end(), target) != chip.end();
}

__extension__ using WideUnsigned = unsigned __int128;

inline WideUnsigned GreatestCommonDivisor(WideUnsigned a, WideUnsigned b) {
  while (b != 0) {
    const WideUnsigned rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

// Holds the setting to the target's registers and formula: the clock choice
// and SMOD it names exist, the reload bytes and the divisor follow from the
// reload, and the achieved rate is 2^SMOD x f / (D x (2^b - reload)) at the
// clock f, in lowest terms, exactly. The mantissa/exponent generator has no
// reload count: its register holds the mantissa m - 256, and its rate is
// f x m / 2^(28 - E), its divider 2^(28 - E) being the exponent's clock choice.
// The ADuC's Timer 3 counts 64 + T3FD, its register holding T3FD, and its
// rate is 4 x f / (2^DIV x (64 + T3FD)): the multiplier 4.
inline void CheckSettingRegisters(const BaudTarget& target, const TargetSetting& setting, const ExactFrequency& clock) {
  Require(setting.clockIndex < target.clocks.size(), "the setting's clock choice is one of the target's");
  const ClockChoice& choice = target.clocks[setting.clockIndex];
  Require(setting.divider == choice.divider && setting.clocksPerCycle == choice.clocksPerCycle,
          "the setting's divider and clocks per count are its clock choice's");
  Require(setting.smod <= (target.smodDoubles ? 1U : 0U), "SMOD is set only where it doubles the rate");
  const std::uint64_t reloadLimit = std::uint64_t{1} << target.reloadBits;
  Require(setting.reload < reloadLimit, "the reload fits its register");
  if (target.generator == GeneratorKind::CcUsart) {
    Require(setting.divisor == 1 && setting.multiplier == 256U + setting.reload, "the mantissa is 256 + BAUD_M");
  } else if (target.generator == GeneratorKind::AducT3) {
    Require(setting.multiplier == 4 && setting.reload < 64 && setting.divisor == 64U + setting.reload,
            "the ADuC's count is 64 + T3FD, T3FD below 64, its rate 4 x f / (2^DIV x count)");
  } else {
    Require(setting.multiplier == 1 && setting.divisor == reloadLimit - setting.reload,
            "the divisor is 2^bits - reload");
  }
  Require(setting.reloadLow == (setting.reload & 0xFFU), "the low register holds the reload's low byte");
  Require(setting.reloadHigh == (target.reloadBits > 8 ? setting.reload >> 8U : 0U),
          "the high register holds the reload's high byte");

  const WideUnsigned numerator = (WideUnsigned{clock.numerator} << setting.smod) * setting.multiplier;
  const WideUnsigned denominator = WideUnsigned{clock.denominator} * setting.divider * setting.divisor;
  const WideUnsigned common = GreatestCommonDivisor(numerator, denominator);
  Require(setting.achievedNumerator == numerator / common && setting.achievedDenominator == denominator / common,
          "the achieved rate is the formula applied to the registers, in lowest terms");
}

}  // namespace tesmirol::fuzz
