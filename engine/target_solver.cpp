#include "engine/target_solver.h"

#include <algorithm>
#include <cstdint>
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
Uint128 UnitDenominator(std::uint32_t divider, const ExactFrequency& frequency) {
  return Uint128{frequency.denominator} * divider;
}

std::uint64_t ReloadLimit(const BaudTarget& target) { return std::uint64_t{1} << target.reloadBits; }

bool IsMantissaExponent(const BaudTarget& target) { return target.generator == GeneratorKind::CcUsart; }

// The ADuC's Timer 3 counts 64 + T3FD core clocks (after 2^DIV) per 16
// bit-clock periods x 4: T3FD from 0 to 63, the range the data sheet's
// choice of DIV (rounded down) leaves it in.
constexpr std::uint64_t kAducLeastCount = 64;
constexpr std::uint64_t kAducMostCount = 127;
constexpr std::uint32_t kAducRateFactor = 4;

bool IsAducTimer3(const BaudTarget& target) { return target.generator == GeneratorKind::AducT3; }

// The divisor's range: n = 2^b - reload from 1 to 2^b, or 64 + T3FD.
std::uint64_t LeastCount(const BaudTarget& target) { return IsAducTimer3(target) ? kAducLeastCount : 1; }
std::uint64_t MostCount(const BaudTarget& target) {
  return IsAducTimer3(target) ? kAducMostCount : ReloadLimit(target);
}
std::uint32_t RateFactor(const BaudTarget& target) { return IsAducTimer3(target) ? kAducRateFactor : 1; }

// The mantissa/exponent generator: m = 256 + BAUD_M from 256 to 511, and in
// UART mode at most f / 16, that is m x 2^E <= 2^24 (BAUD_E = 16 takes
// BAUD_M = 0 only).
constexpr std::uint64_t kLeastMantissa = 256;
constexpr std::uint64_t kMantissaLimit = 511;
constexpr std::uint32_t kUartScaleBits = 24;

std::uint64_t MostMantissa(const ClockChoice& clock) {
  const std::uint32_t exponent = clock.select;
  return exponent >= kUartScaleBits ? 0 : std::min(kMantissaLimit, std::uint64_t{1} << (kUartScaleBits - exponent));
}

// rate - baud = (2^SMOD F m - baud q D n) / (q D n): this is the numerator.
Int128 ErrorNumerator(const ExactFrequency& frequency, std::int32_t baud, const TargetSetting& setting) {
  const Uint128 wanted =
      UnitDenominator(setting.divider, frequency) * setting.divisor * static_cast<std::uint32_t>(baud);
  return static_cast<Int128>(RateNumerator(frequency, setting.smod) * setting.multiplier) - static_cast<Int128>(wanted);
}

Uint128 GreatestCommonDivisor(Uint128 a, Uint128 b) {
  while (b != 0) {
    const Uint128 rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

Uint128 Magnitude(Int128 value) { return static_cast<Uint128>(value < 0 ? -value : value); }

// |error| x D' x n', the numerator of |rate - baud| over the common
// q x D x D' x n x n': compares errors of settings of different dividers.
Uint128 ScaledError(const ExactFrequency& frequency, std::int32_t baud, const TargetSetting& setting,
                    const TargetSetting& other) {
  return Magnitude(ErrorNumerator(frequency, baud, setting)) * other.divider * other.divisor;
}

// One exponent of the mantissa/exponent generator: the exact mantissa x =
// baud q D / F and its neighbours inside the exponent's range. Between two
// exponents' ranges the nearer end of each is tried; below the first
// exponent's and above the last's the rate is out of reach, as a reload
// generator's beyond its register.
TargetModeResult SolveExponent(const BaudTarget& target, const TargetInputs& inputs, std::uint32_t clockIndex) {
  TargetModeResult mode;
  mode.clockIndex = clockIndex;
  const ClockChoice& clock = target.clocks.at(clockIndex);
  const Uint128 numerator = UnitDenominator(clock.divider, inputs.frequency) * static_cast<std::uint32_t>(inputs.baud);
  const Uint128 floor = numerator / inputs.frequency.numerator;
  const bool whole = numerator % inputs.frequency.numerator == 0;
  const Uint128 ceil = whole ? floor : floor + 1;
  const bool first = clockIndex == 0;
  const bool last = clockIndex + 1 == target.clocks.size();
  const std::uint64_t most = MostMantissa(clock);
  if (ceil < kLeastMantissa || (first && floor < kLeastMantissa)) {
    mode.status = TargetStatus::TooLow;
    return mode;
  }
  if (floor > most || (last && ceil > most)) {
    mode.status = TargetStatus::TooHigh;
    return mode;
  }
  for (const Uint128 mantissa : {floor, ceil}) {
    if (mantissa < kLeastMantissa || mantissa > most || (mode.triedCount == 1 && mantissa == floor)) {
      continue;
    }
    mode.tried.at(mode.triedCount) =
        MakeTargetSetting(target, inputs.frequency, clockIndex, 0, static_cast<std::uint64_t>(mantissa), inputs.baud);
    ++mode.triedCount;
  }
  // On a tie the smaller mantissa, tried first, stays.
  if (mode.triedCount == 2 && HasLessError(mode.tried[1], mode.tried[0], inputs.frequency, inputs.baud)) {
    mode.bestTried = 1;
  }
  return mode;
}

// One clock choice and SMOD setting: the range verdict from the exact
// divisor x, then its two neighbours and the lesser error of them.
TargetModeResult SolveMode(const BaudTarget& target, const TargetInputs& inputs, std::uint32_t clockIndex,
                           std::uint32_t smod) {
  if (IsMantissaExponent(target)) {
    return SolveExponent(target, inputs, clockIndex);
  }
  TargetModeResult mode;
  mode.clockIndex = clockIndex;
  mode.smod = smod;
  const std::uint32_t divider = target.clocks.at(clockIndex).divider;
  const Uint128 numerator = RateNumerator(inputs.frequency, smod) * RateFactor(target);
  const Uint128 denominator = UnitDenominator(divider, inputs.frequency) * static_cast<std::uint32_t>(inputs.baud);
  const Uint128 floor = numerator / denominator;
  const bool whole = numerator % denominator == 0;
  const Uint128 ceil = whole ? floor : floor + 1;
  const std::uint64_t least = LeastCount(target);
  const std::uint64_t most = MostCount(target);
  // Where the count starts above 1 (the ADuC's 64 + T3FD), a divisor just
  // outside the range between two clock choices tries the range's nearer
  // end on each, so that no rate falls between them; at the quickest and
  // slowest clock choices the range ends, as a reload register's does.
  const bool innerHigh = least > 1 && clockIndex > 0;
  const bool innerLow = least > 1 && clockIndex + 1 < target.clocks.size();
  if (ceil < least || (floor < least && !innerHigh)) {
    mode.status = TargetStatus::TooHigh;  // even n = least is too slow
    return mode;
  }
  if (floor > most || (ceil > most && !innerLow)) {
    mode.status = TargetStatus::TooLow;  // even n = most is too fast
    return mode;
  }
  for (const Uint128 count : {floor, ceil}) {
    if (count < least || count > most || (mode.triedCount == 1 && count == floor)) {
      continue;
    }
    mode.tried.at(mode.triedCount) =
        MakeTargetSetting(target, inputs.frequency, clockIndex, smod, static_cast<std::uint64_t>(count), inputs.baud);
    ++mode.triedCount;
  }
  // On a tie the larger reload (the smaller divisor, tried first) stays.
  if (mode.triedCount == 2 && HasLessError(mode.tried[1], mode.tried[0], inputs.frequency, inputs.baud)) {
    mode.bestTried = 1;
  }
  return mode;
}

double RateOf(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t clockIndex, std::uint32_t smod,
              std::uint64_t divisor) {
  return MakeTargetSetting(target, frequency, clockIndex, smod, divisor, 0).achieved;
}

// The clock choice with the most (slowest) or fewest oscillator periods a count.
std::uint32_t ExtremeClock(const BaudTarget& target, bool slowest) {
  std::uint32_t chosen = 0;
  for (std::uint32_t index = 1; index < target.clocks.size(); ++index) {
    const std::uint32_t divider = target.clocks[index].divider;
    if (slowest ? divider > target.clocks[chosen].divider : divider < target.clocks[chosen].divider) {
      chosen = index;
    }
  }
  return chosen;
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

TargetSetting MakeTargetSetting(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t clockIndex,
                                std::uint32_t smod, std::uint64_t divisor, std::int32_t baud) {
  TargetSetting setting;
  const ClockChoice& clock = target.clocks.at(clockIndex);
  setting.clockIndex = clockIndex;
  setting.clocksPerCycle = clock.clocksPerCycle;
  setting.divider = clock.divider;
  setting.smod = smod;
  setting.divisor = divisor;
  if (IsMantissaExponent(target)) {
    // The mantissa multiplies the rate: the register holds m - 256.
    setting.multiplier = static_cast<std::uint32_t>(divisor);
    setting.divisor = 1;
    setting.reload = static_cast<std::uint32_t>(divisor - kLeastMantissa);
  } else if (IsAducTimer3(target)) {
    setting.multiplier = kAducRateFactor;
    setting.reload = static_cast<std::uint32_t>(divisor - kAducLeastCount);
    // A bit is 16 x (1 + T3FD/64) = (64 + T3FD) / 4 clocks of the divider's
    // input on average; the divider reaches the fraction by adding whole
    // clocks, so an edge or a sample lies less than one such clock from its
    // average place.
    if (setting.reload != 0) {
      setting.edgeShiftNumerator = kAducRateFactor;
      setting.edgeShiftDenominator = static_cast<std::uint32_t>(divisor);
    }
  } else {
    setting.reload = static_cast<std::uint32_t>(ReloadLimit(target) - divisor);
  }
  if (target.reloadBits > 8) {
    setting.reloadHigh = static_cast<std::uint8_t>(setting.reload >> 8U);
  }
  setting.reloadLow = static_cast<std::uint8_t>(setting.reload & 0xFFU);
  Uint128 numerator = RateNumerator(frequency, smod) * setting.multiplier;
  Uint128 denominator = UnitDenominator(clock.divider, frequency) * setting.divisor;
  const Uint128 common = GreatestCommonDivisor(numerator, denominator);
  numerator /= common;
  denominator /= common;
  // In lowest terms both fit 64 bits: the crystal's numerator is below
  // 2^55 (16 digits), the mantissa below 2^9, q x D x n below 2^62.
  setting.achievedNumerator = static_cast<std::uint64_t>(numerator);
  setting.achievedDenominator = static_cast<std::uint64_t>(denominator);
  setting.achieved = static_cast<double>(setting.achievedNumerator) / static_cast<double>(setting.achievedDenominator);
  if (baud > 0) {
    const Int128 error = ErrorNumerator(frequency, baud, setting);
    const Uint128 scale =
        UnitDenominator(clock.divider, frequency) * setting.divisor * static_cast<std::uint32_t>(baud);
    setting.deviation = static_cast<double>(error * 100) / static_cast<double>(scale);
  }
  return setting;
}

bool HasLessError(const TargetSetting& a, const TargetSetting& b, const ExactFrequency& frequency, std::int32_t baud) {
  return ScaledError(frequency, baud, a, b) < ScaledError(frequency, baud, b, a);
}

TargetSolution SolveTarget(const BaudTarget& target, const TargetInputs& inputs) {
  TargetSolution solution;
  solution.target = &target;
  const std::uint32_t smodCount = target.smodDoubles ? 2 : 1;
  const auto clockCount = static_cast<std::uint32_t>(std::min(target.clocks.size(), kMaxTargetModes / smodCount));
  solution.modeCount = std::size_t{clockCount} * smodCount;
  if (IsMantissaExponent(target)) {
    const auto lastClock = static_cast<std::uint32_t>(target.clocks.size() - 1);
    solution.minRate = RateOf(target, inputs.frequency, 0, 0, kLeastMantissa);
    solution.maxRate = RateOf(target, inputs.frequency, lastClock, 0, MostMantissa(target.clocks.back()));
  } else {
    solution.minRate = RateOf(target, inputs.frequency, ExtremeClock(target, true), 0, MostCount(target));
    solution.maxRate = RateOf(target, inputs.frequency, ExtremeClock(target, false), smodCount - 1, LeastCount(target));
  }
  const TargetSetting* best = nullptr;
  bool anyTooLow = false;
  for (std::uint32_t clock = 0; clock < clockCount; ++clock) {
    for (std::uint32_t smod = 0; smod < smodCount; ++smod) {
      const std::size_t index = std::size_t{clock} * smodCount + smod;
      solution.modes.at(index) = SolveMode(target, inputs, clock, smod);
      const TargetModeResult& mode = solution.modes.at(index);
      anyTooLow = anyTooLow || mode.status == TargetStatus::TooLow;
      if (mode.status != TargetStatus::Ok) {
        continue;
      }
      const TargetSetting& candidate = mode.tried.at(mode.bestTried);
      // On a tie the earlier clock, then SMOD = 0, stays: PCON is left alone.
      if (best == nullptr || HasLessError(candidate, *best, inputs.frequency, inputs.baud)) {
        best = &candidate;
      }
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
    if (HasLessError(solution.best, best.best, inputs.frequency, inputs.baud)) {
      family.best = family.solutions.size() - 1;
    }
  }
  return family;
}

std::uint32_t MostReload(const BaudTarget& target) noexcept {
  // n from least to most: reloads 0 to most - least either way round.
  return static_cast<std::uint32_t>(MostCount(target) - LeastCount(target));
}

std::optional<std::vector<TargetSetting>> TargetRatesForReload(const BaudTarget& target,
                                                               const ExactFrequency& frequency, std::uint32_t reload,
                                                               std::int32_t baud) {
  if (reload > MostReload(target)) {
    return std::nullopt;
  }
  std::vector<TargetSetting> settings;
  if (IsMantissaExponent(target)) {
    for (std::uint32_t clock = 0; clock < target.clocks.size(); ++clock) {
      if (kLeastMantissa + reload <= MostMantissa(target.clocks[clock])) {
        settings.push_back(MakeTargetSetting(target, frequency, clock, 0, kLeastMantissa + reload, baud));
      }
    }
    return settings;
  }
  const std::uint64_t divisor = IsAducTimer3(target) ? kAducLeastCount + reload : ReloadLimit(target) - reload;
  for (std::uint32_t clock = 0; clock < target.clocks.size(); ++clock) {
    for (std::uint32_t smod = 0; smod < (target.smodDoubles ? 2U : 1U); ++smod) {
      settings.push_back(MakeTargetSetting(target, frequency, clock, smod, divisor, baud));
    }
  }
  return settings;
}

}  // namespace tesmirol
