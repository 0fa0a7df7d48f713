#include "engine/clock_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

#include "support/case_name.h"

namespace tesmirol {
namespace {

std::vector<const BaudTarget*> Targets(const char* nameOrFamily) {
  std::vector<const BaudTarget*> targets = FindBaudTargets(nameOrFamily);
  EXPECT_FALSE(targets.empty()) << nameOrFamily;
  return targets;
}

bool SameError(const RelativeError& a, const RelativeError& b) { return !IsLess(a, b) && !IsLess(b, a); }

// The worst error at one clock as the exact solver gives it, hertz by
// hertz: every rate on its best target; nothing when a rate has no setting
// within the tolerance.
std::optional<RelativeError> SolvedWorst(const std::vector<const BaudTarget*>& targets,
                                         const std::vector<std::int32_t>& rates, std::uint64_t hertz,
                                         double tolerance) {
  std::optional<RelativeError> worst;
  for (const std::int32_t baud : rates) {
    const auto inputs = ReadTargetInputs(std::to_string(hertz), std::to_string(baud));
    const FamilySolution family = SolveTargets(targets, *inputs);
    if (!family.best) {
      return std::nullopt;
    }
    const TargetSetting& best = family.solutions.at(*family.best).best;
    if (std::abs(best.deviation) > tolerance) {
      return std::nullopt;
    }
    const RelativeError error = ErrorOf(best, inputs->frequency, baud);
    if (!worst || IsLess(*worst, error)) {
      worst = error;
    }
  }
  return worst;
}

// Every hertz of a small window solved one by one: the finder's list must
// be the window's exact clocks and local least points, with the solver's
// errors, best first.
struct WindowCase {
  const char* name;
  const char* target;
  std::vector<std::int32_t> rates;
  std::uint64_t low;
  std::uint64_t high;
  double tolerance;
  std::size_t exactClocks;  // how many the window holds
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

class ClockFinderWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(ClockFinderWindow, AgreesWithEveryHertzSolved) {
  const WindowCase& c = GetParam();
  const std::vector<const BaudTarget*> targets = Targets(c.target);
  std::vector<std::optional<RelativeError>> solved;
  for (std::uint64_t hertz = c.low; hertz <= c.high; ++hertz) {
    solved.push_back(SolvedWorst(targets, c.rates, hertz, c.tolerance));
  }
  const auto at = [&](std::uint64_t hertz) -> const std::optional<RelativeError>& { return solved[hertz - c.low]; };
  const auto isLocalLeast = [&](std::uint64_t hertz) {
    const auto noLess = [&](std::uint64_t other) {
      return other < c.low || other > c.high || !at(other) || !IsLess(*at(other), *at(hertz));
    };
    return noLess(hertz - 1) && noLess(hertz + 1);
  };
  ClockFinderOptions options;
  options.tolerancePercent = c.tolerance;
  options.limit = 100000;
  const ClockFinderResult result = FindClocksForRates(targets, c.rates, {c.low, c.high, {}}, options);
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  EXPECT_EQ(result.exactCount, c.exactClocks);

  std::optional<RelativeError> least;
  std::size_t exactSolved = 0;
  for (std::uint64_t hertz = c.low; hertz <= c.high; ++hertz) {
    const auto& worst = at(hertz);
    if (!worst) {
      continue;
    }
    exactSolved += worst->numerator == 0 ? 1U : 0U;
    if (!least || IsLess(*worst, *least)) {
      least = worst;
    }
    // Every local least point of two rates is found.
    if (isLocalLeast(hertz)) {
      EXPECT_TRUE(std::any_of(result.clocks.begin(), result.clocks.end(),
                              [hertz](const ClockCandidate& clock) { return clock.hertz == hertz; }))
          << hertz << " is locally least but not listed";
    }
  }
  EXPECT_EQ(exactSolved, c.exactClocks);
  ASSERT_FALSE(result.clocks.empty());
  ASSERT_TRUE(least.has_value());
  EXPECT_TRUE(SameError(result.clocks.front().worst, *least));
  for (const ClockCandidate& clock : result.clocks) {
    SCOPED_TRACE(clock.hertz);
    const auto& worst = at(clock.hertz);
    ASSERT_TRUE(worst.has_value());
    EXPECT_TRUE(SameError(clock.worst, *worst));
    EXPECT_EQ(clock.exact, worst->numerator == 0);
    EXPECT_TRUE(isLocalLeast(clock.hertz));
    ASSERT_EQ(clock.rates.size(), c.rates.size());
    EXPECT_TRUE(SameError(clock.rates.at(clock.worstIndex).error, clock.worst));
  }
  for (std::size_t index = 1; index < result.clocks.size(); ++index) {
    EXPECT_FALSE(IsLess(result.clocks[index].worst, result.clocks[index - 1].worst));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ClockFinderWindow,
    testing::Values(
        // 9600 and 115200 meet exactly on every multiple of 460800 Hz.
        WindowCase{"Stc1TAroundElevenMegahertz", "stc-t2-1t", {9600, 115200}, 11040000, 11080000, 1.0, 1},
        // 9600 and 10007 have no common exact clock near 11 MHz: only
        // balance points and each rate's exact clocks.
        WindowCase{"PrimeRateBalances", "stc-t2-1t", {9600, 10007}, 11000000, 11060000, 1.0, 0},
        // Timer 1 in 8-bit mode with SMOD: few exact clocks, wide gaps.
        WindowCase{"EightBitTimerWithSmod", "stc-t1-1t", {9600, 57600}, 11020000, 11100000, 1.0, 1},
        // A family: every generator of UART1 may serve each rate.
        WindowCase{"FamilyOfGenerators", "stc8", {4800, 38400, 115200}, 22100000, 22140000, 0.5, 1},
        // 9600 and 9700 on the 12-clock Timer 1: exact 1 % apart, met halfway.
        WindowCase{"NothingExactOnTheClassicTimer", "t1-12t", {9600, 9700}, 11050000, 11180000, 1.0, 0}),
    testing_support::CaseName());

// The clocks that give every rate exactly, and how they are ranked.
struct ExactCase {
  const char* name;
  const char* target;
  std::vector<std::int32_t> rates;
  std::uint64_t low;
  std::uint64_t high;
  std::size_t exactCount;
  std::vector<std::uint64_t> first;  // the list's head, in order
};

void PrintTo(const ExactCase& c, std::ostream* os) { *os << c.name; }

class ClockFinderExact : public testing::TestWithParam<ExactCase> {};

TEST_P(ClockFinderExact, ListsTheExactClocksRoundestFirst) {
  const ExactCase& c = GetParam();
  const ClockFinderResult result = FindClocksForRates(Targets(c.target), c.rates, {c.low, c.high, {}}, {});
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  EXPECT_EQ(result.exactCount, c.exactCount);
  ASSERT_GE(result.clocks.size(), c.first.size());
  EXPECT_LE(result.clocks.size(), std::size_t{20});
  for (std::size_t index = 0; index < c.first.size(); ++index) {
    EXPECT_EQ(result.clocks[index].hertz, c.first[index]) << index;
    EXPECT_TRUE(result.clocks[index].exact);
    EXPECT_EQ(result.clocks[index].commonDistance, 0U);
    for (const ClockRateSetting& rate : result.clocks[index].rates) {
      EXPECT_EQ(rate.setting.deviation, 0.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    KnownClocks, ClockFinderExact,
    testing::Values(
        // STC Timer 2 at 1T: f / (4 (65536 - T2)); 9600 and 115200 are exact
        // on every multiple of 460800 Hz, 26 of them from 11 to 23 MHz, and the
        // UART crystals 11.0592 ... 22.1184 MHz (k x 1.8432 MHz) lead.
        ExactCase{"StcTimer2At1T",
                  "stc-t2-1t",
                  {9600, 115200},
                  11000000,
                  23000000,
                  26,
                  {11059200, 12902400, 14745600, 16588800, 18432000, 20275200, 22118400}},
        // The classic 12-clock Timer 1: 9600 and 19200 together only on
        // multiples of 3.6864 MHz (19200 with SMOD = 1: 192 x 19200 x n).
        ExactCase{"ClassicTimer1", "t1-12t", {9600, 19200}, 4000000, 35000000, 8, {7372800, 11059200, 14745600}},
        // Whole megahertz where no UART crystal is exact: 250000 needs a
        // multiple of 1 MHz on the 1T Timer 2.
        ExactCase{
            "WholeMegahertzFirst", "stc-t2-1t", {62500, 250000}, 1000000, 3000000, 3, {1000000, 2000000, 3000000}}),
    testing_support::CaseName());

// Too wide to look for near-exact clocks, but with exact ones: those alone.
TEST(ClockFinderWidth, KeepsTheExactClocksOfAWideSearch) {
  const ClockFinderResult result =
      FindClocksForRates(Targets("n76e003"), std::vector<std::int32_t>{110, 9600}, {4000000, 35000000, {}}, {});
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  EXPECT_TRUE(result.nearSkipped);
  EXPECT_GT(result.candidateCount, kMaxClockCandidates);
  EXPECT_EQ(result.clocks.size(), result.exactCount);
  for (const ClockCandidate& clock : result.clocks) {
    EXPECT_TRUE(clock.exact) << clock.hertz;
  }
}

// The CH552's clock comes from its 96 MHz PLL in steps, kept in the
// catalogue: the steps are the range.
TEST(ClockFinderSteps, Ch552StepsComeFromTheCatalogue) {
  const std::vector<const BaudTarget*> targets = Targets("ch552");
  const auto steps = SharedClockSteps(targets);
  ASSERT_TRUE(steps.has_value());
  EXPECT_EQ(*steps, (std::vector<std::uint64_t>{187500, 750000, 3000000, 6000000, 12000000, 16000000, 24000000}));
  EXPECT_FALSE(SharedClockSteps(Targets("stc8")).has_value());
}

struct StepCase {
  const char* name;
  std::vector<std::int32_t> rates;
  std::vector<std::uint64_t> clocks;  // the list, in order
  bool exact;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class ClockFinderCh552 : public testing::TestWithParam<StepCase> {};

TEST_P(ClockFinderCh552, ListsTheStepsThatServe) {
  const StepCase& c = GetParam();
  const std::vector<const BaudTarget*> targets = Targets("ch552");
  ClockSpan span;
  span.steps = *SharedClockSteps(targets);
  const ClockFinderResult result = FindClocksForRates(targets, c.rates, span, {});
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  std::vector<std::uint64_t> listed;
  for (const ClockCandidate& clock : result.clocks) {
    listed.push_back(clock.hertz);
    EXPECT_EQ(clock.exact, c.exact);
  }
  EXPECT_EQ(listed, c.clocks);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ClockFinderCh552,
    testing::Values(
        // 9600 comes within 0.16 % on 6, 12, 16 and 24 MHz alike (n = 39 at
        // 12 MHz ...): a tie, lowest first; 3 MHz is 2.3 % off.
        StepCase{"Rate9600TiesOnFourSteps", {9600}, {6000000, 12000000, 16000000, 24000000}, false},
        // 115200 needs 24 MHz (n = 13 with SMOD, 0.16 %).
        StepCase{"Rates9600And115200OnlyAt24MHz", {9600, 115200}, {24000000}, false},
        // 32 x 62500 = 2 MHz: exact with SMOD on every step from 3 MHz.
        StepCase{"Rate62500ExactOnTheLargerSteps", {62500}, {3000000, 6000000, 12000000, 16000000, 24000000}, true}),
    testing_support::CaseName());

// Several UARTs at once: the planner decides at each clock.
TEST(ClockFinderPlan, FindsTheClocksAPlanIsExactAt) {
  const std::vector<const BaudTarget*> chip = FindFamilyTargets("stc8");
  const std::vector<UartRequest> requests{{"UART1", 115200, "115200"}, {"UART2", 9600, "9600"}};
  const ClockFinderResult result = FindClocksForPlan(chip, requests, {11000000, 23000000, {}}, {});
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  ASSERT_FALSE(result.clocks.empty());
  EXPECT_EQ(result.clocks.front().hertz, 11059200U);
  for (const ClockCandidate& clock : result.clocks) {
    ASSERT_TRUE(clock.plan.has_value());
    EXPECT_TRUE(clock.exact);
    EXPECT_EQ(clock.plan->uarts.size(), 2U);
  }
}

TEST(ClockFinderPlan, SharedTimerMustServeBothUarts) {
  // UART3 and UART2 of an STC15 both want Timer 2 unless UART3 takes Timer 3;
  // either way 22.1184 MHz serves 115200 and 9600 exactly.
  const std::vector<const BaudTarget*> chip = FindFamilyTargets("stc15");
  const std::vector<UartRequest> requests{{"UART2", 115200, "115200"}, {"UART3", 9600, "9600"}};
  const ClockFinderResult result = FindClocksForPlan(chip, requests, {22118400, 22118400, {}}, {});
  ASSERT_EQ(result.status, ClockFinderStatus::Found);
  ASSERT_EQ(result.clocks.size(), 1U);
  EXPECT_TRUE(result.clocks.front().exact);
  EXPECT_NE(result.clocks.front().plan->uarts[0].target->timer, result.clocks.front().plan->uarts[1].target->timer);
}

// A plan's worst error hertz by hertz, from the planner: the finder's
// clocks are its local least points with its errors, the least first, also
// when it stops planning once no later candidate can rank.
TEST(ClockFinderPlan, AgreesWithThePlannerHertzByHertz) {
  const std::vector<const BaudTarget*> chip = FindFamilyTargets("stc8");
  const std::vector<UartRequest> requests{{"UART1", 9600, "9600"}, {"UART2", 10007, "10007"}};
  constexpr std::uint64_t low = 11000000;
  constexpr std::uint64_t high = 11012000;
  std::vector<std::optional<RelativeError>> planned;
  for (std::uint64_t hertz = low; hertz <= high; ++hertz) {
    const auto inputs = ReadTargetInputs(std::to_string(hertz), "1");
    const PlanResult result = PlanUarts(chip, *inputs, requests, 1.0);
    std::optional<RelativeError> worst;
    if (result.plan) {
      const PlannedUart& uart = result.plan->uarts.at(result.plan->worst);
      worst = ErrorOf(uart.setting, inputs->frequency, uart.request.baud);
    }
    planned.push_back(worst);
  }
  std::optional<RelativeError> least;
  for (const auto& worst : planned) {
    if (worst && (!least || IsLess(*worst, *least))) {
      least = worst;
    }
  }
  ASSERT_TRUE(least.has_value());
  for (const std::size_t limit : {std::size_t{3}, std::size_t{100000}}) {
    ClockFinderOptions options;
    options.limit = limit;
    const ClockFinderResult result = FindClocksForPlan(chip, requests, {low, high, {}}, options);
    ASSERT_EQ(result.status, ClockFinderStatus::Found);
    ASSERT_FALSE(result.clocks.empty());
    EXPECT_LE(result.clocks.size(), limit);
    EXPECT_TRUE(SameError(result.clocks.front().worst, *least));
    for (const ClockCandidate& clock : result.clocks) {
      SCOPED_TRACE(clock.hertz);
      const auto& worst = planned[clock.hertz - low];
      ASSERT_TRUE(worst.has_value());
      EXPECT_TRUE(SameError(clock.worst, *worst));
      for (const std::uint64_t other : {clock.hertz - 1, clock.hertz + 1}) {
        if (other >= low && other <= high && planned[other - low]) {
          EXPECT_FALSE(IsLess(*planned[other - low], *worst)) << other;
        }
      }
    }
  }
}

// The nearest common frequency, which ranks clocks of equal error.
struct CommonCase {
  const char* name;
  std::uint64_t hertz;
  std::vector<std::uint64_t> listed;
  CommonClockKind kind;
  std::uint64_t nearest;
};

void PrintTo(const CommonCase& c, std::ostream* os) { *os << c.name; }

class NearestCommon : public testing::TestWithParam<CommonCase> {};

TEST_P(NearestCommon, FollowsTheRankingRule) {
  const CommonCase& c = GetParam();
  const CommonClock common = NearestCommonClock(c.hertz, c.listed);
  EXPECT_EQ(CommonClockKindName(common.kind), CommonClockKindName(c.kind));
  EXPECT_EQ(common.hertz, c.nearest);
  EXPECT_EQ(common.distance, c.hertz > c.nearest ? c.hertz - c.nearest : c.nearest - c.hertz);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, NearestCommon,
    testing::Values(CommonCase{"UartCrystal", 11059200, {}, CommonClockKind::UartCrystal, 11059200},
                    CommonCase{"ListedBeatsUartCrystalOnATie", 11059200, {11059200}, CommonClockKind::Listed, 11059200},
                    CommonCase{
                        "UartCrystalBeatsWholeMegahertzOnATie", 9216000, {}, CommonClockKind::UartCrystal, 9216000},
                    CommonCase{"WholeMegahertz", 12000100, {}, CommonClockKind::WholeMegahertz, 12000000},
                    CommonCase{"NearerListedCrystal", 3579600, {3579545}, CommonClockKind::Listed, 3579545},
                    CommonCase{"BelowOneMegahertz", 300000, {}, CommonClockKind::WholeMegahertz, 1000000},
                    CommonCase{"HalfwayTakesTheLower", 2500000, {}, CommonClockKind::WholeMegahertz, 2000000}),
    testing_support::CaseName());

// Why nothing was found.
struct EmptyCase {
  const char* name;
  const char* target;
  std::vector<std::int32_t> rates;
  ClockSpan span;
  ClockFinderStatus status;
  std::optional<std::size_t> rateIndex;
};

void PrintTo(const EmptyCase& c, std::ostream* os) { *os << c.name; }

class ClockFinderEmpty : public testing::TestWithParam<EmptyCase> {};

TEST_P(ClockFinderEmpty, SaysWhy) {
  const EmptyCase& c = GetParam();
  const ClockFinderResult result = FindClocksForRates(Targets(c.target), c.rates, c.span, {});
  EXPECT_EQ(ClockFinderStatusName(result.status), ClockFinderStatusName(c.status));
  EXPECT_TRUE(result.clocks.empty());
  EXPECT_EQ(result.rateIndex, c.rateIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ClockFinderEmpty,
    testing::Values(
        EmptyCase{"LowAboveHigh", "stc-t2-1t", {9600}, {5000000, 4000000, {}}, ClockFinderStatus::EmptyRange, {}},
        EmptyCase{"ZeroLow", "stc-t2-1t", {9600}, {0, 4000000, {}}, ClockFinderStatus::EmptyRange, {}},
        EmptyCase{
            "BeyondTheHighestClock", "stc-t2-1t", {9600}, {1, kMaxClockHz + 1, {}}, ClockFinderStatus::EmptyRange, {}},
        EmptyCase{"NoStepInRange",
                  "ch552",
                  {9600},
                  {30000000, 40000000, {3000000, 24000000}},
                  ClockFinderStatus::EmptyRange,
                  {}},
        EmptyCase{"NoRates", "stc-t2-1t", {}, {4000000, 35000000, {}}, ClockFinderStatus::NoRates, {}},
        // 50 on every prescaler of the N76E003's Timer 3, the prime 99991
        // exact nowhere with it: millions of near-exact candidates.
        EmptyCase{"TooWide", "n76e003", {50, 99991}, {4000000, 35000000, {}}, ClockFinderStatus::SearchTooWide, {}},
        // 921600 needs 12 x 32 x 921600 / 2 = 177 MHz on the 12-clock Timer 1.
        EmptyCase{"RateBeyondTheRange",
                  "t1-12t",
                  {9600, 921600},
                  {4000000, 35000000, {}},
                  ClockFinderStatus::RateOutOfReach,
                  1},
        // The CC253x USART's generator multiplies the clock: not searched.
        EmptyCase{"MantissaExponentGenerator",
                  "cc2530",
                  {115200},
                  {4000000, 35000000, {}},
                  ClockFinderStatus::RateOutOfReach,
                  0},
        // Nor the ADuC's Timer 3 with its fractional divider.
        EmptyCase{"FractionalDividerGenerator",
                  "aduc84x",
                  {115200},
                  {4000000, 35000000, {}},
                  ClockFinderStatus::RateOutOfReach,
                  0},
        // 9600 and 10000 are 4 % apart on the 12-clock Timer 1 near 11 MHz.
        EmptyCase{"RatesTooFarApart",
                  "t1-12t",
                  {9600, 10000},
                  {11000000, 11600000, {}},
                  ClockFinderStatus::NoCommonClock,
                  {}}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
