// The two finders' answers: the rates finder held to the engine's own
// results for every crystal it lists and leaves out, and its link ranking;
// the clock finder's search held to its question (range or clock steps,
// every listed clock within the tolerance, best first); the finders' input
// texts read as the command line reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "answers/clock_finder_answer.h"
#include "answers/finder_texts.h"
#include "answers/rates_finder_answer.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

struct RatesCase {
  const char* name;
  std::vector<std::int32_t> rates;
  const char* target;  // "": the dialog's calculation
  double tolerance;
  const char* peer;     // "": no link
  std::size_t atLeast;  // crystals listed at least
};

void PrintTo(const RatesCase& c, std::ostream* os) { *os << c.name; }

// Whether one rate fits the crystal by the engine's own calculation.
bool Fits(std::string_view crystal, std::int32_t baud, const std::vector<const BaudTarget*>& targets,
          double tolerance) {
  if (targets.empty()) {
    const auto calculation = CalculateBaud(crystal, std::to_string(baud));
    if (!calculation) {
      return false;
    }
    const InitCodeChoice choice = ChooseInitCodeSetting(*calculation);
    return choice.outcome == GenerationOutcome::Code && calculation->mode.at(choice.smod).deviationAbs <= tolerance;
  }
  const auto inputs = ReadTargetInputs(crystal, std::to_string(baud));
  const FamilySolution family = inputs ? SolveTargets(targets, *inputs) : FamilySolution{};
  return family.best && std::fabs(family.solutions.at(*family.best).best.deviation) <= tolerance;
}

class RatesFinder : public testing::TestWithParam<RatesCase> {};

TEST_P(RatesFinder, ListsExactlyTheDistinctCrystalsOnWhichEveryRateFitsRankedByTheirLinks) {
  const RatesCase& c = GetParam();
  const std::vector<const BaudTarget*> targets =
      *c.target == '\0' ? std::vector<const BaudTarget*>{} : FindBaudTargets(c.target);
  const std::optional<LinkAsk> ask =
      *c.peer == '\0' ? std::nullopt : std::optional(LinkAsk{ReadPeer(c.peer).peer, kDefaultCrystalTolerance, {}});
  const auto crystals = CrystalPresets();
  const RatesFinderAnswer answer = AnswerRatesFinder(crystals, c.rates, targets, c.tolerance, ask ? &*ask : nullptr);
  EXPECT_GE(answer.crystals.size(), c.atLeast);
  std::vector<std::size_t> listed;
  for (const CrystalFit& crystal : answer.crystals) {
    listed.push_back(crystal.crystal);
    ASSERT_EQ(crystal.rates.size(), c.rates.size());
    for (const RateFit& fit : crystal.rates) {
      EXPECT_LE(std::fabs(fit.deviation), c.tolerance) << crystals[crystal.crystal] << " " << fit.baud;
      EXPECT_EQ(fit.link.has_value(), ask.has_value());
      EXPECT_EQ(fit.target == nullptr, targets.empty());
    }
  }
  for (const std::size_t index : DistinctCrystals(crystals)) {
    const bool everyRate = std::all_of(c.rates.begin(), c.rates.end(), [&](std::int32_t baud) {
      return Fits(crystals[index], baud, targets, c.tolerance);
    });
    EXPECT_EQ(std::count(listed.begin(), listed.end(), index), everyRate ? 1 : 0) << crystals[index];
  }
  if (ask) {
    EXPECT_TRUE(std::is_sorted(answer.crystals.begin(), answer.crystals.end(),
                               [](const CrystalFit& a, const CrystalFit& b) { return RanksBefore(a.rank, b.rank); }));
  } else {
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
  }
}

INSTANTIATE_TEST_SUITE_P(Questions, RatesFinder,
                         testing::Values(RatesCase{"DialogTwoRates", {9600, 115200}, "", 1.0, "", 5},
                                         RatesCase{"DialogTight", {9600, 19200, 57600}, "", 0.1, "", 1},
                                         RatesCase{"FamilyRankedByAdapter", {9600, 115200}, "stc8", 1.0, "ch340", 20},
                                         RatesCase{"DialogRankedByIdealPeer", {4800, 9600}, "", 1.0, "ideal", 5},
                                         RatesCase{"NoCrystalGivesTheRate", {3000000}, "", 1.0, "", 0}),
                         testing_support::CaseName());

TEST(RatesFinderCrystals, EachExactFrequencyOnceAndUnreadTextsByTheirText) {
  const std::vector<std::string_view> crystals{"11.0592MHz", "11059200", "12MHz", "fast", "11.0592M", "fast", "12MHZ"};
  EXPECT_EQ(DistinctCrystals(crystals), (std::vector<std::size_t>{0, 2, 3}));
}

struct ClockCase {
  const char* name;
  const char* target;
  const char* uart;                 // "": the target's (the family's first UART's)
  std::vector<std::int32_t> rates;  // empty: the plan of requests
  std::vector<UartRequest> requests;
  std::optional<ClockBounds> range;  // none: the chip's clock steps
  bool needsRange;
  ClockFinderStatus status;
  const char* firstClockHz;  // the best clock, "" when none is listed
};

void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.name; }

class ClockFinder : public testing::TestWithParam<ClockCase> {};

TEST_P(ClockFinder, SearchesTheRangeOrTheChipsStepsAndListsClocksWithinTheToleranceBestFirst) {
  const ClockCase& c = GetParam();
  ClockAsk ask;
  ask.targetName = c.target;
  if (*c.uart != '\0') {
    ask.uart = c.uart;
  }
  ask.rates = c.rates;
  ask.requests = c.requests;
  ask.range = c.range;
  ask.limit = 5;
  const ClockAnswer answer = AnswerClocks(ask);
  ASSERT_EQ(answer.needsRange, c.needsRange);
  if (c.needsRange) {
    return;
  }
  EXPECT_EQ(answer.span.steps.empty(), c.range.has_value());
  EXPECT_EQ(answer.result.status, c.status);
  ASSERT_LE(answer.result.clocks.size(), 5U);
  EXPECT_EQ(answer.result.clocks.empty() ? std::string() : std::to_string(answer.result.clocks.front().hertz),
            c.firstClockHz);
  for (const ClockCandidate& clock : answer.result.clocks) {
    EXPECT_LE(std::fabs(clock.worstDeviation), ask.tolerancePercent) << clock.hertz;
    EXPECT_EQ(clock.plan.has_value(), c.rates.empty()) << clock.hertz;
    if (c.range) {
      EXPECT_GE(clock.hertz, c.range->low);
      EXPECT_LE(clock.hertz, c.range->high);
    } else {
      EXPECT_NE(std::find(answer.span.steps.begin(), answer.span.steps.end(), clock.hertz), answer.span.steps.end());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Questions, ClockFinder,
    testing::Values(
        ClockCase{"FamilyRatesInRange",
                  "stc8",
                  "",
                  {9600, 115200},
                  {},
                  ClockBounds{4000000, 35000000},
                  false,
                  ClockFinderStatus::Found,
                  "5529600"},
        ClockCase{"ClockStepsWithoutRange",
                  "ch552",
                  "",
                  {9600, 115200},
                  {},
                  std::nullopt,
                  false,
                  ClockFinderStatus::Found,
                  "24000000"},
        ClockCase{"FreeClockNeedsRange", "stc8", "", {9600}, {}, std::nullopt, true, ClockFinderStatus::Found, ""},
        ClockCase{"OneUartOfTheFamily",
                  "stc8",
                  "UART2",
                  {9600},
                  {},
                  ClockBounds{4000000, 5000000},
                  false,
                  ClockFinderStatus::Found,
                  "4032000"},
        ClockCase{"PlanOfTwoUarts",
                  "stc8",
                  "",
                  {},
                  {{"UART1", 115200, "115200"}, {"UART2", 9600, "9600"}},
                  ClockBounds{20000000, 24000000},
                  false,
                  ClockFinderStatus::Found,
                  "20275200"},
        ClockCase{"RateOutOfReach",
                  "stc8",
                  "",
                  {3000000},
                  {},
                  ClockBounds{1000000, 2000000},
                  false,
                  ClockFinderStatus::RateOutOfReach,
                  ""}),
    testing_support::CaseName());

TEST(ClockFinderCoverage, EveryGeneratorButTheMantissaExponentOne) {
  EXPECT_TRUE(ClockFinderCovers("stc8"));
  EXPECT_TRUE(ClockFinderCovers("stc-t2-1t"));
  EXPECT_FALSE(ClockFinderCovers("cc2530"));
  EXPECT_FALSE(ClockFinderCovers("cc253x-usart0"));
  // Nor the ADuC's fractional divider, whose count starts at 64 under a constant 4.
  EXPECT_FALSE(ClockFinderCovers("aduc84x"));
  EXPECT_FALSE(ClockFinderCovers("aduc84x-t3"));
}

struct TextCase {
  const char* text;
  std::optional<std::vector<std::int32_t>> rates;
  std::optional<double> percent;
  std::optional<std::size_t> limit;
};

TEST(FinderTexts, ReadAsTheCommandLineReadsThem) {
  const std::vector<TextCase> cases{
      {"9600", std::vector<std::int32_t>{9600}, 9600.0, std::nullopt},
      {"9600,115200", std::vector<std::int32_t>{9600, 115200}, std::nullopt, std::nullopt},
      {"1", std::vector<std::int32_t>{1}, 1.0, 1},
      {"1000", std::vector<std::int32_t>{1000}, 1000.0, 1000},
      {"0", std::nullopt, 0.0, std::nullopt},
      {"0.5%", std::nullopt, 0.5, std::nullopt},
      {"9600,", std::nullopt, std::nullopt, std::nullopt},
      {",9600", std::nullopt, std::nullopt, std::nullopt},
      {"-1", std::nullopt, std::nullopt, std::nullopt},
      {"+5", std::nullopt, std::nullopt, std::nullopt},
      {"0000020", std::vector<std::int32_t>{20}, 20.0, std::nullopt},
      {"", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(ReadRateList(c.text), c.rates) << c.text;
    EXPECT_EQ(ReadPercent(c.text), c.percent) << c.text;
    EXPECT_EQ(ReadClockLimit(c.text), c.limit) << c.text;
  }
}

TEST(FinderTexts, ClockRangesOfWholeHertz) {
  struct RangeCase {
    const char* text;
    std::optional<ClockRangeProblem> problem;
    std::uint64_t low;
    std::uint64_t high;
  };
  for (const RangeCase& c : std::vector<RangeCase>{{"4MHz..35MHz", std::nullopt, 4000000, 35000000},
                                                   {"32768..1.8432MHz", std::nullopt, 32768, 1843200},
                                                   {"4MHz..4MHz", std::nullopt, 4000000, 4000000},
                                                   {"4MHz", ClockRangeProblem::NotRange, 0, 0},
                                                   {"4.5Hz..5MHz", ClockRangeProblem::NotWholeHertz, 0, 0},
                                                   {"..5MHz", ClockRangeProblem::NotWholeHertz, 0, 0},
                                                   {"5MHz..4MHz", ClockRangeProblem::Empty, 0, 0}}) {
    ClockBounds bounds;
    EXPECT_EQ(ReadClockRange(c.text, bounds), c.problem) << c.text;
    if (!c.problem) {
      EXPECT_EQ(bounds.low, c.low) << c.text;
      EXPECT_EQ(bounds.high, c.high) << c.text;
    }
  }
}

}  // namespace
}  // namespace tesmirol::answers
