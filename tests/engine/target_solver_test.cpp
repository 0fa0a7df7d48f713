#include "engine/target_solver.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "engine/target_catalogue.h"

#include "support/case_name.h"

namespace tesmirol {
namespace {

__extension__ using Uint128 = unsigned __int128;

// ---------------------------------------------------------------------------
// The crystal text read exactly.

struct CrystalCase {
  const char* name;
  const char* text;
  std::optional<ExactFrequency> expected;
};

void PrintTo(const CrystalCase& c, std::ostream* os) { *os << c.name; }

class ExactCrystal : public testing::TestWithParam<CrystalCase> {};

TEST_P(ExactCrystal, ReadsTheDecimalExactly) {
  const CrystalCase& c = GetParam();
  const auto frequency = ReadExactCrystal(c.text);
  ASSERT_EQ(frequency.has_value(), c.expected.has_value());
  if (frequency) {
    EXPECT_EQ(frequency->numerator, c.expected->numerator);
    EXPECT_EQ(frequency->denominator, c.expected->denominator);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExactCrystal,
    testing::Values(CrystalCase{"Megahertz", "11.0592MHz", ExactFrequency{11059200, 1}},
                    CrystalCase{"HalfHertz", "7.9296875MHz", ExactFrequency{15859375, 2}},
                    CrystalCase{"Kilohertz", "32.768KHz", ExactFrequency{32768, 1}},
                    CrystalCase{"LowerCaseAndBlanks", "  +12mhz", ExactFrequency{12000000, 1}},
                    CrystalCase{"NoUnitIsHertzInLowestTerms", "11.0592", ExactFrequency{6912, 625}},
                    CrystalCase{"Exponent", "1.5e1MHz", ExactFrequency{15000000, 1}},
                    CrystalCase{"EWithoutDigitsIsNotAnExponent", "12EMHz", ExactFrequency{12000000, 1}},
                    CrystalCase{"MBeforeK", "1KM", ExactFrequency{1000000, 1}},
                    CrystalCase{"NoNumber", "MHz", std::nullopt}, CrystalCase{"Negative", "-12MHz", std::nullopt},
                    CrystalCase{"Zero", "0.000MHz", std::nullopt}, CrystalCase{"TooLarge", "2000000MHz", std::nullopt},
                    CrystalCase{"TooPrecise", "1.0000000001", std::nullopt},
                    CrystalCase{"SixteenDigits", "6666666667.929683", ExactFrequency{6666666667929683, 1000000}},
                    CrystalCase{"SeventeenDigits", "6666666667.9296838", std::nullopt},
                    CrystalCase{"TooManyDigits", "1.2345678901234567891MHz", std::nullopt}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// Examples worked by hand: least error rather than truncation, exact rates,
// range verdicts.

struct SolveCase {
  const char* name;
  const char* target;
  const char* crystal;
  const char* baud;
  TargetStatus status;
  std::uint32_t smod;    // of the best setting, when Ok
  std::uint32_t reload;  // of the best setting, when Ok
  std::uint64_t achievedNumerator;
  std::uint64_t achievedDenominator;
  std::size_t triedCount;  // neighbours tried for the winning SMOD setting
};

void PrintTo(const SolveCase& c, std::ostream* os) { *os << c.name; }

class SolveExamples : public testing::TestWithParam<SolveCase> {};

TEST_P(SolveExamples, ChoosesTheLeastErrorOrSaysWhyNot) {
  const SolveCase& c = GetParam();
  const BaudTarget* target = FindBaudTarget(c.target);
  ASSERT_NE(target, nullptr);
  const auto solution = SolveTarget(*target, c.crystal, c.baud);
  ASSERT_TRUE(solution.has_value());
  ASSERT_EQ(solution->status, c.status);
  if (c.status != TargetStatus::Ok) {
    return;
  }
  EXPECT_EQ(solution->best.smod, c.smod);
  EXPECT_EQ(solution->best.reload, c.reload);
  EXPECT_EQ(solution->best.achievedNumerator, c.achievedNumerator);
  EXPECT_EQ(solution->best.achievedDenominator, c.achievedDenominator);
  EXPECT_EQ(solution->modes.at(c.smod).triedCount, c.triedCount);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SolveExamples,
    testing::Values(
        // Truncation takes 0xFC (-18.6 %) and 0xF9; the nearest neighbour
        // with SMOD = 1 is n = 7: 24000000 / 2688 = 62500/7 bps.
        SolveCase{"TwelveMegahertzRoundsToNearest", "t1-12t", "12MHz", "9600", TargetStatus::Ok, 1, 0xF9, 62500, 7, 2},
        // Both SMOD settings give 9600 exactly; SMOD = 0 keeps PCON alone.
        SolveCase{"ExactTieKeepsSmodZero", "t1-12t", "11.0592MHz", "9600", TargetStatus::Ok, 0, 0xFD, 9600, 1, 1},
        // x = 206.5 exactly, yet n = 207 is nearer: 22.84 against 23.41 bps.
        SolveCase{"HalfHertzCrystal", "stc-t2-1t", "7.9296875MHz", "9600", TargetStatus::Ok, 0, 0xFF31, 15859375, 1656,
                  2},
        SolveCase{"TopOfTheRegister", "t2-12t", "12MHz", "375000", TargetStatus::Ok, 0, 0xFFFF, 375000, 1, 1},
        SolveCase{"AboveTheFastestRate", "t1-12t", "11.0592MHz", "115200", TargetStatus::TooHigh, 0, 0, 0, 1, 0},
        SolveCase{"BelowTheSlowestRate", "t1-12t", "11.0592MHz", "110", TargetStatus::TooLow, 0, 0, 0, 1, 0},
        SolveCase{"SixteenBitsReachLowRates", "stc-t2-12t", "11.0592MHz", "110", TargetStatus::Ok, 0, 0xF7D1, 46080,
                  419, 2},
        // EFM8BB3 UART1: 24.5 MHz / (2 x 106) at prescaler 1 (0xFF96).
        SolveCase{"Efm8Uart1AtPrescalerOne", "efm8bb3-uart1", "24.5MHz", "115200", TargetStatus::Ok, 0, 0xFF96, 6125000,
                  53, 2},
        // 110 bps needs n = 111364 at prescaler 1; at 4, n = 27841 is off by
        // 0.0003 %, nearer than any larger prescaler's.
        SolveCase{"Efm8Uart1SlowRateTakesAPrescaler", "efm8bb3-uart1", "24.5MHz", "110", TargetStatus::Ok, 0, 0x933F,
                  3062500, 27841, 0},
        SolveCase{"Efm8Uart1BelowPrescaler48", "efm8bb3-uart1", "24.5MHz", "3", TargetStatus::TooLow, 0, 0, 0, 1, 0},
        SolveCase{"Efm8Uart1AboveHalfTheClock", "efm8bb3-uart1", "24.5MHz", "13000000", TargetStatus::TooHigh, 0, 0, 0,
                  1, 0},
        // ADuC Timer 3, 4 f / (2^DIV (64 + T3FD)): above f / 16 (DIV = 0,
        // T3FD = 0) and below 4 f / (128 x 127) the rate is refused.
        SolveCase{"AducAboveASixteenthOfTheCoreClock", "aduc84x-t3", "16.777216MHz", "1048577", TargetStatus::TooHigh,
                  0, 0, 0, 1, 0},
        SolveCase{"AducTopRateIsExact", "aduc84x-t3", "16.777216MHz", "1048576", TargetStatus::Ok, 0, 0, 1048576, 1, 1},
        SolveCase{"AducBelowTheSlowestCount", "aduc84x-t3", "16.777216MHz", "4100", TargetStatus::TooLow, 0, 0, 0, 1,
                  0}),
    testing_support::CaseName());

// The EFM8BB3 UART1's prescalers in the order a tie prefers them, each with
// its SBCON1.BPS code (Silicon Labs' register header: 000 /12, 001 /4,
// 010 /48, 011 /1, 100 /8, 101 /16, 110 /24, 111 /32) and divider 2 x P.
TEST(SolveTarget, Efm8Uart1PrescalersAreTheSbcon1Codes) {
  const BaudTarget* target = FindBaudTarget("efm8bb3-uart1");
  ASSERT_NE(target, nullptr);
  constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 8> kPrescalerCodes = {
      {{1, 3}, {4, 1}, {8, 4}, {12, 0}, {16, 5}, {24, 6}, {32, 7}, {48, 2}}};
  ASSERT_EQ(target->clocks.size(), kPrescalerCodes.size());
  for (std::size_t i = 0; i < kPrescalerCodes.size(); ++i) {
    const auto [prescaler, code] = kPrescalerCodes.at(i);
    EXPECT_EQ(target->clocks[i].clocksPerCycle, prescaler);
    EXPECT_EQ(target->clocks[i].divider, 2 * prescaler);
    EXPECT_EQ(target->clocks[i].select, code) << "prescaler " << prescaler;
  }
  EXPECT_EQ(target->reloadBits, 16U);
  EXPECT_FALSE(target->smodDoubles);
}

TEST(SolveTarget, RefusesInputsWithoutAFrequencyOrRate) {
  const BaudTarget* target = FindBaudTarget("t1-12t");
  ASSERT_NE(target, nullptr);
  for (const auto& [crystal, baud] : {std::pair{"", "9600"}, std::pair{"12MHz", ""}, std::pair{"MHz", "9600"},
                                      std::pair{"12MHz", "0"}, std::pair{"12MHz", "-9600"}}) {
    EXPECT_FALSE(SolveTarget(*target, crystal, baud).has_value()) << crystal << " " << baud;
  }
}

// ---------------------------------------------------------------------------
// Against an exhaustive search: for every target and a spread of awkward
// crystals and rates, no clock, reload and SMOD setting of the register
// comes closer to the rate than the one chosen. The errors are compared
// exactly, |2^SMOD F - baud q D n| / (D n), cross-multiplied in 128 bits.

Uint128 ErrorOver(std::uint32_t divider, const TargetInputs& inputs, std::uint32_t smod, std::uint64_t n) {
  const Uint128 rate = Uint128{inputs.frequency.numerator} << smod;
  const Uint128 wanted = Uint128{inputs.frequency.denominator} * divider * n * static_cast<std::uint32_t>(inputs.baud);
  return rate > wanted ? rate - wanted : wanted - rate;
}

TEST(SolveTarget, NoReloadOfTheRegisterComesCloser) {
  constexpr std::array<const char*, 5> crystals = {"3.579545MHz", "7.9296875MHz", "18.432MHz", "33.1776MHz", "12MHz"};
  constexpr std::array<const char*, 4> rates = {"300", "9600", "115200", "250000"};
  for (const BaudTarget& target : BaudTargets()) {
    if (target.generator == GeneratorKind::CcUsart || target.generator == GeneratorKind::AducT3) {
      continue;  // the mantissa or the constant 4 multiplies the rate: their own tests below
    }
    for (const char* crystal : crystals) {
      for (const char* baud : rates) {
        SCOPED_TRACE(target.name + " " + crystal + " " + baud);
        const auto inputs = ReadTargetInputs(crystal, baud);
        ASSERT_TRUE(inputs.has_value());
        const TargetSolution solution = SolveTarget(target, *inputs);
        if (solution.status != TargetStatus::Ok) {
          continue;
        }
        const TargetSetting& best = solution.best;
        const Uint128 bestError = ErrorOver(best.divider, *inputs, best.smod, best.divisor);
        const std::uint64_t limit = std::uint64_t{1} << target.reloadBits;
        for (const ClockChoice& clock : target.clocks) {
          for (std::uint32_t smod = 0; smod < (target.smodDoubles ? 2U : 1U); ++smod) {
            for (std::uint64_t n = 1; n <= limit; ++n) {
              // bestError / (bestD bestN) <= error / (D n)
              ASSERT_LE(bestError * clock.divider * n,
                        ErrorOver(clock.divider, *inputs, smod, n) * best.divider * best.divisor)
                  << "P " << clock.clocksPerCycle << " SMOD " << smod << " n " << n;
            }
          }
        }
      }
    }
  }
}

// Every DIV 0 to 7 and T3FD 0 to 63 of the ADuC's Timer 3, whose error is
// |4 F - baud q 2^DIV (64 + T3FD)| / (q 2^DIV (64 + T3FD)): none comes
// closer than the solver's choice; a rate whose count falls between two
// DIVs' ranges (127.5 at DIV 0, 63.75 at DIV 1) is served by the nearer
// end of one; a rate beyond every range is refused.
TEST(SolveTarget, NoDivOrFractionalStepComesCloser) {
  constexpr std::array<const char*, 4> crystals = {"16.777216MHz", "11.0592MHz", "3.579545MHz", "20MHz"};
  constexpr std::array<const char*, 9> rates = {"300",    "2400",   "9600",    "57600",  "115200",
                                                "230400", "526344", "1000000", "1300000"};
  const BaudTarget* target = FindBaudTarget("aduc84x-t3");
  ASSERT_NE(target, nullptr);
  for (const char* crystal : crystals) {
    for (const char* baud : rates) {
      SCOPED_TRACE(std::string(crystal) + " " + baud);
      const auto inputs = ReadTargetInputs(crystal, baud);
      ASSERT_TRUE(inputs.has_value());
      const TargetSolution solution = SolveTarget(*target, *inputs);
      const Uint128 fourF = Uint128{inputs->frequency.numerator} * 4;
      const Uint128 unit = Uint128{inputs->frequency.denominator} * static_cast<std::uint32_t>(inputs->baud);
      // Out of every range: faster than DIV 0 with count 64, slower than DIV 7 with 127.
      if (unit * 64 > fourF || unit * 128 * 127 < fourF) {
        EXPECT_NE(solution.status, TargetStatus::Ok);
        continue;
      }
      ASSERT_EQ(solution.status, TargetStatus::Ok);
      const TargetSetting& best = solution.best;
      EXPECT_EQ(best.multiplier, 4U);
      EXPECT_EQ(best.divider, 1U << best.clockIndex);
      EXPECT_EQ(best.divisor, 64 + best.reload);
      EXPECT_LE(best.reload, 63U);
      const auto errorOf = [&](std::uint64_t d, std::uint64_t n) {
        const Uint128 wanted = unit * d * n;
        return fourF > wanted ? fourF - wanted : wanted - fourF;
      };
      const Uint128 bestError = errorOf(best.divider, best.divisor);
      for (std::uint32_t div = 0; div < 8; ++div) {
        for (std::uint64_t n = 64; n <= 127; ++n) {
          ASSERT_LE(bestError * (std::uint64_t{1} << div) * n,
                    errorOf(std::uint64_t{1} << div, n) * best.divider * best.divisor)
              << "DIV " << div << " T3FD " << n - 64;
        }
      }
    }
  }
}

// |f x m x 2^E - baud x q x 2^28|: the mantissa/exponent generator's error
// over the common denominator q x 2^28 of every one of its settings.
Uint128 ExponentError(const TargetInputs& inputs, std::uint64_t mantissa, std::uint32_t exponent) {
  const Uint128 rate = Uint128{inputs.frequency.numerator} * mantissa << exponent;
  const Uint128 wanted = Uint128{inputs.frequency.denominator} * static_cast<std::uint32_t>(inputs.baud) << 28U;
  return rate > wanted ? rate - wanted : wanted - rate;
}

// Every exponent 0 to 16 and mantissa 256 to 511 (at most f / 16) of both
// USARTs: none comes closer than the solver's choice, a rate between two
// exponents' ranges is served, and a rate out of every range is refused.
TEST(SolveTarget, NoMantissaOrExponentComesCloser) {
  // The last: sixteen digits, the most the reader takes, whose rate in
  // lowest terms needs every bit of the fraction.
  constexpr std::array<const char*, 5> crystals = {"32MHz", "16MHz", "3.579545MHz", "33.1776MHz", "6666666667.929683"};
  constexpr std::array<const char*, 12> rates = {"30",     "300",    "2400",   "9600",    "62400",   "62450",
                                                 "115200", "250000", "921600", "1000000", "2000000", "2000001"};
  for (const char* name : {"cc253x-usart0", "cc253x-usart1"}) {
    const BaudTarget* target = FindBaudTarget(name);
    ASSERT_NE(target, nullptr);
    for (const char* crystal : crystals) {
      for (const char* baud : rates) {
        SCOPED_TRACE(std::string(name) + " " + crystal + " " + baud);
        const auto inputs = ReadTargetInputs(crystal, baud);
        ASSERT_TRUE(inputs.has_value());
        const TargetSolution solution = SolveTarget(*target, *inputs);
        std::optional<Uint128> least;
        for (std::uint32_t exponent = 0; exponent <= 16; ++exponent) {
          for (std::uint64_t mantissa = 256; mantissa <= 511 && (mantissa << exponent) <= (1U << 24U); ++mantissa) {
            const Uint128 error = ExponentError(*inputs, mantissa, exponent);
            least = least ? std::min(*least, error) : error;
          }
        }
        const Uint128 lowest = Uint128{inputs->frequency.numerator} * 256;
        const Uint128 highest = Uint128{inputs->frequency.numerator} << 24U;
        const Uint128 wanted = Uint128{inputs->frequency.denominator} * static_cast<std::uint32_t>(inputs->baud) << 28U;
        if (wanted < lowest || wanted > highest) {
          EXPECT_NE(solution.status, TargetStatus::Ok);
          continue;
        }
        ASSERT_EQ(solution.status, TargetStatus::Ok);
        const TargetSetting& best = solution.best;
        const std::uint32_t exponent = target->clocks.at(best.clockIndex).select;
        EXPECT_EQ(best.multiplier, 256 + best.reload);
        EXPECT_EQ(best.divider, 1U << (28U - exponent));
        EXPECT_EQ(ExponentError(*inputs, best.multiplier, exponent), *least);
        EXPECT_EQ(Uint128{best.achievedNumerator} * inputs->frequency.denominator * best.divider,
                  Uint128{inputs->frequency.numerator} * best.multiplier * best.achievedDenominator);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// A chip family: every generator and clock tried, the best reported.

struct FamilyCase {
  const char* name;
  const char* family;
  const char* crystal;
  const char* baud;
  const char* bestTarget;  // nullptr: none is Ok
  std::uint32_t reload;
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.name; }

class FamilyExamples : public testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyExamples, ReportsTheBestTarget) {
  const FamilyCase& c = GetParam();
  const auto targets = FindBaudTargets(c.family);
  ASSERT_FALSE(targets.empty());
  const auto inputs = ReadTargetInputs(c.crystal, c.baud);
  ASSERT_TRUE(inputs.has_value());
  const FamilySolution family = SolveTargets(targets, *inputs);
  ASSERT_EQ(family.solutions.size(), targets.size());
  ASSERT_EQ(family.best.has_value(), c.bestTarget != nullptr);
  if (family.best) {
    const TargetSolution& best = family.solutions.at(*family.best);
    EXPECT_EQ(best.target->name, c.bestTarget);
    EXPECT_EQ(best.best.reload, c.reload);
  }
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyExamples,
                         testing::Values(
                             // Timer 1 at 12 clocks is 7 % off; Timer 2 gives 9615 bps.
                             FamilyCase{"Timer2BeatsTimer1", "8052", "12MHz", "9600", "t2-12t", 0xFFD9},
                             // Timer 1 at 6 clocks with SMOD = 1 ties with Timer 2; the first listed wins.
                             FamilyCase{"TieGoesToCatalogueOrder", "stc89", "12MHz", "9600", "t1-6t", 0xF3},
                             FamilyCase{"SkipsTargetsOutOfRange", "stc89", "11.0592MHz", "115200", "t1-6t", 0xFF},
                             FamilyCase{"FamilyInAnyCase", "STC15", "11.0592MHz", "115200", "stc-t2-1t", 0xFFE8},
                             FamilyCase{"NothingInRange", "n76e003", "32.768KHz", "115200", nullptr, 0}),
                         testing_support::CaseName());

TEST(TargetCatalogue, NamesOneTargetOrAFamilyOrNothing) {
  EXPECT_EQ(FindBaudTargets("stc-t2-1t").size(), 1U);
  EXPECT_EQ(FindBaudTargets("STC-T2-1T").size(), 1U);
  EXPECT_EQ(FindBaudTargets("stc15").size(), 6U);
  EXPECT_TRUE(FindBaudTargets("stc99").empty());
}

}  // namespace
}  // namespace tesmirol
