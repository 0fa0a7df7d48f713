#include "answers/clock_finder_answer.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"

namespace tesmirol::answers {
namespace {

// The targets of the chip the name stands for: the one target, or every
// target of the family, of every UART.
std::vector<const BaudTarget*> ChipOf(const std::string& name) {
  if (const BaudTarget* target = FindBaudTarget(name)) {
    return {target};
  }
  return FindFamilyTargets(name);
}

// The crystal presets in whole hertz: the common frequencies the ranking
// prefers.
std::vector<std::uint64_t> PresetHertz() {
  std::vector<std::uint64_t> hertz;
  for (const std::string_view preset : CrystalPresets()) {
    const auto frequency = ReadExactCrystal(preset);
    if (frequency && frequency->denominator == 1) {
      hertz.push_back(frequency->numerator);
    }
  }
  return hertz;
}

}  // namespace

bool ClockFinderCovers(const std::string& name) {
  std::vector<const BaudTarget*> named = FindFamilyTargets(name);
  if (const BaudTarget* target = FindBaudTarget(name)) {
    named.push_back(target);
  }
  return std::all_of(named.begin(), named.end(),
                     [](const BaudTarget* target) { return DividesByReloadCount(*target); });
}

std::vector<const BaudTarget*> ClockRateTargets(const ClockAsk& ask) {
  return ask.uart ? TargetsOfUart(ChipOf(ask.targetName), *ask.uart) : FindBaudTargets(ask.targetName);
}

ClockAnswer AnswerClocks(const ClockAsk& ask) {
  const bool plan = ask.rates.empty();
  const std::vector<const BaudTarget*> chip = ChipOf(ask.targetName);
  const std::vector<const BaudTarget*> targets = plan ? chip : ClockRateTargets(ask);
  ClockAnswer answer;
  if (ask.range) {
    answer.span.low = ask.range->low;
    answer.span.high = ask.range->high;
  } else if (const auto steps = SharedClockSteps(targets)) {
    answer.span.steps = *steps;
  } else {
    answer.needsRange = true;
    return answer;
  }
  ClockFinderOptions options;
  options.tolerancePercent = ask.tolerancePercent;
  options.limit = ask.limit;
  options.commonClocks = PresetHertz();
  answer.result = plan ? FindClocksForPlan(chip, ask.requests, answer.span, options)
                       : FindClocksForRates(targets, ask.rates, answer.span, options);
  return answer;
}

}  // namespace tesmirol::answers
