#include "engine/target_solver.h"

#include <numeric>

#include "engine/number_reading.h"
#include "text/gbk_text.h"

namespace tesmirol {
namespace {

// Products of a crystal numerator (below 2^62), a denominator (up to 10^9),
// a divider (below 2^9), a divisor (up to 2^16) and a baud rate (below 2^31)
// need up to 2^113: beyond 64 bits, well inside 128.
__extension__ using Uint128 = unsigned __int128;
__extension__ using Int128 = __int128;

// 2^SMOD x f's numerator: the rate's numerator for any divisor.
Uint128 RateNumerator(const ExactFrequency& frequency, std::uint32_t smod) {
  return Uint128{frequency.numerator} << smod;
}

// q x D: the rate's denominator for a divisor of 1.
Uint128 UnitDenominator(const BaudTarget& target, const ExactFrequency& frequency) {
  return Uint128{frequency.denominator} * target.divider;
}

std::uint64_t ReloadLimit(const BaudTarget& target) { return std::uint64_t{1} << target.reloadBits; }

// rate - baud = (2^SMOD F - baud q D n) / (q D n): this is the numerator.
Int128 ErrorNumerator(const BaudTarget& target, const ExactFrequency& frequency, std::int32_t baud,
                      const TargetSetting& setting) {
  const Uint128 wanted = UnitDenominator(target, frequency) * setting.divisor * static_cast<std::uint32_t>(baud);
  return static_cast<Int128>(RateNumerator(frequency, setting.smod)) - static_cast<Int128>(wanted);
}

Uint128 Magnitude(Int128 value) { return static_cast<Uint128>(value < 0 ? -value : value); }

// |error| x D x n, the numerator of |rate - baud| over the common q x D1 x D2
// x n1 x n2: compares errors across targets of different dividers.
Uint128 ScaledError(const BaudTarget& target, const ExactFrequency& frequency, std::int32_t baud,
                    const TargetSetting& setting, const BaudTarget& other, const TargetSetting& otherSetting) {
  return Magnitude(ErrorNumerator(target, frequency, baud, setting)) * other.divider * otherSetting.divisor;
}

// True when a's |rate - baud| is smaller than b's.
bool LessError(const BaudTarget& targetA, const TargetSetting& a, const BaudTarget& targetB, const TargetSetting& b,
               const ExactFrequency& frequency, std::int32_t baud) {
  return ScaledError(targetA, frequency, baud, a, targetB, b) < ScaledError(targetB, frequency, baud, b, targetA, a);
}

// The setting for a divisor n (1 .. 2^b): reload, bytes, the exact rate in
// lowest terms, and the deviation from baud (none when baud is 0).
TargetSetting MakeSetting(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t smod,
                          std::uint64_t divisor, std::int32_t baud) {
  TargetSetting setting;
  setting.smod = smod;
  setting.divisor = divisor;
  setting.reload = static_cast<std::uint32_t>(ReloadLimit(target) - divisor);
  if (target.reloadBits > 8) {
    setting.reloadHigh = static_cast<std::uint8_t>(setting.reload >> 8U);
  }
  setting.reloadLow = static_cast<std::uint8_t>(setting.reload & 0xFFU);
  // Both fit in 64 bits: 2^SMOD F < 2^63 and q D n <= 10^9 x 384 x 2^16.
  const auto numerator = static_cast<std::uint64_t>(RateNumerator(frequency, smod));
  const auto denominator = static_cast<std::uint64_t>(UnitDenominator(target, frequency) * divisor);
  const std::uint64_t common = std::gcd(numerator, denominator);
  setting.achievedNumerator = numerator / common;
  setting.achievedDenominator = denominator / common;
  setting.achieved = static_cast<double>(setting.achievedNumerator) / static_cast<double>(setting.achievedDenominator);
  if (baud > 0) {
    const Int128 error = ErrorNumerator(target, frequency, baud, setting);
    const Uint128 scale = UnitDenominator(target, frequency) * divisor * static_cast<std::uint32_t>(baud);
    setting.deviation = static_cast<double>(error * 100) / static_cast<double>(scale);
  }
  return setting;
}

// One SMOD setting: the range verdict from the exact divisor x, then its two
// neighbours and the lesser error of them.
TargetModeResult SolveMode(const BaudTarget& target, const TargetInputs& inputs, std::uint32_t smod) {
  TargetModeResult mode;
  mode.smod = smod;
  const Uint128 numerator = RateNumerator(inputs.frequency, smod);
  const Uint128 denominator = UnitDenominator(target, inputs.frequency) * static_cast<std::uint32_t>(inputs.baud);
  const Uint128 floor = numerator / denominator;
  const bool whole = numerator % denominator == 0;
  if (floor == 0) {
    mode.status = TargetStatus::TooHigh;  // even n = 1 is too slow
    return mode;
  }
  if (floor > ReloadLimit(target) || (floor == ReloadLimit(target) && !whole)) {
    mode.status = TargetStatus::TooLow;  // even n = 2^b is too fast
    return mode;
  }
  const auto low = static_cast<std::uint64_t>(floor);
  mode.tried[0] = MakeSetting(target, inputs.frequency, smod, low, inputs.baud);
  mode.triedCount = 1;
  if (!whole) {
    mode.tried[1] = MakeSetting(target, inputs.frequency, smod, low + 1, inputs.baud);
    mode.triedCount = 2;
    // On a tie the larger reload (the smaller divisor, tried first) stays.
    if (LessError(target, mode.tried[1], target, mode.tried[0], inputs.frequency, inputs.baud)) {
      mode.bestTried = 1;
    }
  }
  return mode;
}

double RateOf(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t smod, std::uint64_t divisor) {
  return MakeSetting(target, frequency, smod, divisor, 0).achieved;
}

}  // namespace

std::optional<TargetInputs> ReadTargetInputs(std::string_view crystalText, std::string_view baudText) {
  if (crystalText.empty() || baudText.empty()) {
    return std::nullopt;
  }
  TargetInputs inputs;
  inputs.crystalText = crystalText;
  text::UpperCaseInPlace(inputs.crystalText);
  inputs.baudText = baudText;
  inputs.baud = ReadLeadingInt(baudText);
  const auto frequency = ReadExactCrystal(inputs.crystalText);
  if (!frequency || inputs.baud <= 0) {
    return std::nullopt;
  }
  inputs.frequency = *frequency;
  return inputs;
}

std::string_view TargetStatusName(TargetStatus status) noexcept {
  switch (status) {
    case TargetStatus::TooLow:
      return "TooLow";
    case TargetStatus::TooHigh:
      return "TooHigh";
    case TargetStatus::Ok:
      break;
  }
  return "Ok";
}

TargetSolution SolveTarget(const BaudTarget& target, const TargetInputs& inputs) {
  TargetSolution solution;
  solution.target = &target;
  solution.modeCount = target.smodDoubles ? 2 : 1;
  solution.minRate = RateOf(target, inputs.frequency, 0, ReloadLimit(target));
  solution.maxRate = RateOf(target, inputs.frequency, target.smodDoubles ? 1 : 0, 1);
  const TargetSetting* best = nullptr;
  bool anyTooLow = false;
  for (std::uint32_t smod = 0; smod < solution.modeCount; ++smod) {
    TargetModeResult& mode = solution.modes.at(smod);
    mode = SolveMode(target, inputs, smod);
    anyTooLow = anyTooLow || mode.status == TargetStatus::TooLow;
    if (mode.status != TargetStatus::Ok) {
      continue;
    }
    const TargetSetting& candidate = mode.tried.at(mode.bestTried);
    // On a tie SMOD = 0 stays: PCON is left alone.
    if (best == nullptr || LessError(target, candidate, target, *best, inputs.frequency, inputs.baud)) {
      best = &candidate;
    }
  }
  if (best != nullptr) {
    solution.best = *best;
    solution.status = TargetStatus::Ok;
  } else {
    solution.status = anyTooLow ? TargetStatus::TooLow : TargetStatus::TooHigh;
  }
  return solution;
}

std::optional<TargetSolution> SolveTarget(const BaudTarget& target, std::string_view crystalText,
                                          std::string_view baudText) {
  const auto inputs = ReadTargetInputs(crystalText, baudText);
  if (!inputs) {
    return std::nullopt;
  }
  return SolveTarget(target, *inputs);
}

FamilySolution SolveTargets(std::span<const BaudTarget* const> targets, const TargetInputs& inputs) {
  FamilySolution family;
  family.solutions.reserve(targets.size());
  for (const BaudTarget* target : targets) {
    family.solutions.push_back(SolveTarget(*target, inputs));
    const TargetSolution& solution = family.solutions.back();
    if (solution.status != TargetStatus::Ok) {
      continue;
    }
    if (!family.best) {
      family.best = family.solutions.size() - 1;
      continue;
    }
    const TargetSolution& best = family.solutions.at(*family.best);
    if (LessError(*target, solution.best, *best.target, best.best, inputs.frequency, inputs.baud)) {
      family.best = family.solutions.size() - 1;
    }
  }
  return family;
}

std::optional<std::vector<TargetSetting>> TargetRatesForReload(const BaudTarget& target,
                                                               const ExactFrequency& frequency, std::uint32_t reload,
                                                               std::int32_t baud) {
  if (reload >= ReloadLimit(target)) {
    return std::nullopt;
  }
  std::vector<TargetSetting> settings;
  for (std::uint32_t smod = 0; smod < (target.smodDoubles ? 2U : 1U); ++smod) {
    settings.push_back(MakeSetting(target, frequency, smod, ReloadLimit(target) - reload, baud));
  }
  return settings;
}

}  // namespace tesmirol
