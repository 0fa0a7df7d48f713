#include "engine/uart_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/relative_error.h"
#include "engine/target_catalogue.h"

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct Want {
  const char* uart;
  const char* baud;
  const char* target;  // the generator the plan must give it
  PlanReason reason;
};

struct PlanCase {
  const char* name;
  const char* family;
  const char* crystal;
  std::vector<Want> uarts;
  double tolerance = 1.0;
};

void PrintTo(const PlanCase& c, std::ostream* os) { *os << c.name; }

std::vector<UartRequest> Requests(const std::vector<Want>& wants) {
  std::vector<UartRequest> requests;
  requests.reserve(wants.size());
  for (const Want& want : wants) {
    requests.push_back({want.uart, std::stoi(want.baud), want.baud});
  }
  return requests;
}

PlanResult Plan(const char* family, const char* crystal, const std::vector<Want>& wants, double tolerance) {
  const auto inputs = ReadTargetInputs(crystal, "1");
  EXPECT_TRUE(inputs.has_value());
  const std::vector<const BaudTarget*> targets = FindFamilyTargets(family);
  const std::vector<UartRequest> requests = Requests(wants);
  return PlanUarts(targets, *inputs, requests, tolerance);
}

// Requests that fit: each UART's generator and why it got it.
class PlansThatFit : public testing::TestWithParam<PlanCase> {};

TEST_P(PlansThatFit, GiveEachUartItsGenerator) {
  const PlanCase& c = GetParam();
  const PlanResult result = Plan(c.family, c.crystal, c.uarts, c.tolerance);
  ASSERT_TRUE(result.plan.has_value()) << (result.conflict ? PlanConflictKindName(result.conflict->kind) : "");
  EXPECT_FALSE(result.conflict.has_value());
  ASSERT_EQ(result.plan->uarts.size(), c.uarts.size());
  for (std::size_t index = 0; index < c.uarts.size(); ++index) {
    const PlannedUart& planned = result.plan->uarts[index];
    SCOPED_TRACE(c.uarts[index].uart);
    EXPECT_EQ(planned.target->name, c.uarts[index].target);
    EXPECT_EQ(PlanReasonName(planned.reason), PlanReasonName(c.uarts[index].reason));
    EXPECT_LE(std::abs(planned.setting.deviation), c.tolerance);
    if (planned.reason == PlanReason::TimerTaken) {
      ASSERT_TRUE(planned.takenBy.has_value());
      EXPECT_EQ(result.plan->uarts[*planned.takenBy].target->timer, planned.bestAlone->timer);
    }
  }
  // No two UARTs on one timer with different settings of it.
  for (const PlannedUart& a : result.plan->uarts) {
    for (const PlannedUart& b : result.plan->uarts) {
      if (&a != &b && a.target->timer == b.target->timer) {
        EXPECT_EQ(a.setting.reload, b.setting.reload);
        EXPECT_EQ(a.setting.clocksPerCycle, b.setting.clocksPerCycle);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Planner, PlansThatFit,
    testing::Values(
        PlanCase{
            "OneUartIsItsBestAlone", "stc8", "22.1184MHz", {{"UART1", "115200", "stc-t2-1t", PlanReason::BestAlone}}},
        // UART2 can only take Timer 2, so UART1 moves to Timer 1.
        PlanCase{"Uart1MovesOffTimer2",
                 "stc8",
                 "22.1184MHz",
                 {{"UART1", "115200", "stc-t1m0-1t", PlanReason::TimerTaken},
                  {"UART2", "9600", "stc-u2-t2", PlanReason::OnlyGenerator}}},
        PlanCase{"FourUartsOnFourTimers",
                 "stc8",
                 "22.1184MHz",
                 {{"UART1", "115200", "stc-t1m0-1t", PlanReason::TimerTaken},
                  {"UART2", "9600", "stc-u2-t2", PlanReason::OnlyGenerator},
                  {"UART3", "57600", "stc-u3-t3", PlanReason::TimerTaken},
                  {"UART4", "38400", "stc-u4-t4", PlanReason::TimerTaken}}},
        // One setting of Timer 2 serves both at the same rate.
        PlanCase{"SameRateSharesTimer2",
                 "stc8",
                 "11.0592MHz",
                 {{"UART2", "9600", "stc-u2-t2", PlanReason::OnlyGenerator},
                  {"UART3", "9600", "stc-u3-t2", PlanReason::SharedTimer}}},
        // UART0 reaches 110 bps only on Timer 3; with SMOD = 0 it counts 32
        // overflows a bit, UART1 16: one setting gives 110 and 220.
        PlanCase{"N76UartsShareTimer3AtTwoRates",
                 "n76e003",
                 "24MHz",
                 {{"UART0", "110", "n76-t3-uart0", PlanReason::SharedTimer},
                  {"UART1", "220", "n76-t3-uart1", PlanReason::OnlyGenerator}}},
        PlanCase{"N76Uart0KeepsTimer1",
                 "n76e003",
                 "24MHz",
                 {{"UART0", "115200", "n76-t1-1t", PlanReason::BestAlone},
                  {"UART1", "9600", "n76-t3-uart1", PlanReason::OnlyGenerator}}},
        PlanCase{"Ch552UartsOnTheirOwnGenerators",
                 "ch552",
                 "24MHz",
                 {{"UART0", "115200", "ch55x-t1", PlanReason::OnlyGenerator},
                  {"UART1", "57600", "ch55x-uart1", PlanReason::OnlyGenerator}}},
        PlanCase{"Stc12Uart2KeepsTheBrt",
                 "stc12",
                 "11.0592MHz",
                 {{"UART1", "115200", "stc-t1-1t", PlanReason::BestAlone},
                  {"UART2", "4800", "stc12-u2-brt", PlanReason::OnlyGenerator}}},
        // 16 MHz gives 115200 bps only 3.5 % slow: a wider tolerance takes it.
        PlanCase{"WiderTolerance", "n76e003", "16MHz", {{"UART0", "115200", "n76-t1-1t", PlanReason::BestAlone}}, 4.0}),
    testing_support::CaseName());

// Requests that cannot fit: the conflict named.
struct ConflictCase {
  const char* name;
  const char* family;
  const char* crystal;
  std::vector<Want> uarts;
  PlanConflictKind kind;
  std::vector<std::size_t> requests;
  const char* timer;
};

void PrintTo(const ConflictCase& c, std::ostream* os) { *os << c.name; }

class PlansThatCannotFit : public testing::TestWithParam<ConflictCase> {};

TEST_P(PlansThatCannotFit, NameTheConflict) {
  const ConflictCase& c = GetParam();
  const PlanResult result = Plan(c.family, c.crystal, c.uarts, 1.0);
  EXPECT_FALSE(result.plan.has_value());
  ASSERT_TRUE(result.conflict.has_value());
  EXPECT_EQ(PlanConflictKindName(result.conflict->kind), PlanConflictKindName(c.kind));
  EXPECT_EQ(result.conflict->requests, c.requests);
  EXPECT_EQ(result.conflict->timer, c.timer);
}

INSTANTIATE_TEST_SUITE_P(Planner, PlansThatCannotFit,
                         testing::Values(ConflictCase{"N76Timer3AtTwoRates",
                                                      "n76e003",
                                                      "24MHz",
                                                      {{"UART0", "110", "", PlanReason::BestAlone},
                                                       {"UART1", "9600", "", PlanReason::BestAlone}},
                                                      PlanConflictKind::SharedTimer,
                                                      {0, 1},
                                                      "timer3"},
                                         ConflictCase{"RateBeyondEveryGenerator",
                                                      "stc8",
                                                      "11.0592MHz",
                                                      {{"UART1", "9600", "", PlanReason::BestAlone},
                                                       {"UART2", "3000000", "", PlanReason::BestAlone}},
                                                      PlanConflictKind::OutOfReach,
                                                      {1},
                                                      ""},
                                         ConflictCase{"UartTheChipLacks",
                                                      "stc12",
                                                      "11.0592MHz",
                                                      {{"UART3", "9600", "", PlanReason::BestAlone}},
                                                      PlanConflictKind::NoGenerator,
                                                      {0},
                                                      ""}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// A shared timer's setting against an exhaustive search: no clock and reload
// of Timer 3 gives both UARTs a smaller worst relative error (each UART with
// its better SMOD setting) than the one the plan chose.

RelativeError BestErrorAt(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t clockIndex,
                          std::uint64_t n, std::int32_t baud) {
  RelativeError best;
  for (std::uint32_t smod = 0; smod < (target.smodDoubles ? 2U : 1U); ++smod) {
    const RelativeError error =
        ErrorOf(MakeTargetSetting(target, frequency, clockIndex, smod, n, baud), frequency, baud);
    if (smod == 0 || IsLess(error, best)) {
      best = error;
    }
  }
  return best;
}

struct SharedCase {
  const char* name;
  const char* crystal;
  const char* baud0;
  const char* baud1;
};

void PrintTo(const SharedCase& c, std::ostream* os) { *os << c.name; }

class SharedTimer : public testing::TestWithParam<SharedCase> {};

TEST_P(SharedTimer, NoSettingServesBothBetter) {
  const SharedCase& c = GetParam();
  const std::vector<Want> wants = {{"UART0", c.baud0, "", PlanReason::BestAlone},
                                   {"UART1", c.baud1, "", PlanReason::BestAlone}};
  const PlanResult result = Plan("n76e003", c.crystal, wants, 1.0);
  ASSERT_TRUE(result.plan.has_value());
  const UartPlan& plan = *result.plan;
  ASSERT_EQ(plan.uarts[0].target->timer, "timer3");
  const auto inputs = ReadTargetInputs(c.crystal, "1");
  const ExactFrequency& f = inputs->frequency;
  const auto worstOf = [&](const RelativeError& a, const RelativeError& b) { return IsLess(a, b) ? b : a; };
  const RelativeError chosen = worstOf(ErrorOf(plan.uarts[0].setting, f, plan.uarts[0].request.baud),
                                       ErrorOf(plan.uarts[1].setting, f, plan.uarts[1].request.baud));
  const BaudTarget& uart0 = *plan.uarts[0].target;
  const BaudTarget& uart1 = *plan.uarts[1].target;
  for (std::uint32_t clock = 0; clock < uart0.clocks.size(); ++clock) {
    for (std::uint64_t n = 1; n <= 65536; ++n) {
      const RelativeError worst = worstOf(BestErrorAt(uart0, f, clock, n, plan.uarts[0].request.baud),
                                          BestErrorAt(uart1, f, clock, n, plan.uarts[1].request.baud));
      ASSERT_FALSE(IsLess(worst, chosen)) << "P " << uart0.clocks[clock].clocksPerCycle << " n " << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Planner, SharedTimer,
                         testing::Values(SharedCase{"TwiceTheRate", "24MHz", "110", "220"},
                                         SharedCase{"AlmostTwice", "22.1184MHz", "100", "199"},
                                         SharedCase{"SameRateOddCrystal", "3.579545MHz", "75", "75"}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// Exact comparison of relative errors whose cross products exceed 128 bits.

struct FractionCase {
  const char* name;
  RelativeError a;
  RelativeError b;
  bool less;
  bool greater;
};

void PrintTo(const FractionCase& c, std::ostream* os) { *os << c.name; }

class RelativeErrorOrder : public testing::TestWithParam<FractionCase> {};

TEST_P(RelativeErrorOrder, ComparesExactly) {
  const FractionCase& c = GetParam();
  EXPECT_EQ(IsLess(c.a, c.b), c.less);
  EXPECT_EQ(IsLess(c.b, c.a), c.greater);
}

constexpr Uint128 kBig = Uint128{1} << 100U;

INSTANTIATE_TEST_SUITE_P(
    Planner, RelativeErrorOrder,
    testing::Values(FractionCase{"EqualInOtherTerms", {1, 3}, {2, 6}, false, false},
                    FractionCase{"ZeroIsLeast", {0, 7}, {1, kBig}, true, false},
                    FractionCase{"SameWholePartThenRemainder", {7, 3}, {9, 4}, false, true},
                    // (2^100 + 1) / 2^100 against (2^100 + 2) / (2^100 + 1):
                    // 1 + 2^-100 < 1 + 1 / (2^100 + 1) is false.
                    FractionCase{"HugeTermsOneApart", {kBig + 1, kBig}, {kBig + 2, kBig + 1}, false, true},
                    FractionCase{"HugeNumeratorsSmallDifference", {kBig - 1, kBig + 3}, {kBig, kBig + 4}, true, false}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
