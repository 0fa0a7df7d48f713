#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/clock_planner.h"
#include "engine/target_catalogue.h"

namespace {

// The clock finder over 4 to 35 MHz for two rates on one target, STC's
// Timer 2 at 1T: every exact clock of 115200 checked against 9600.
void BM_FindClockTwoRates(benchmark::State& state) {
  const auto targets = tesmirol::FindBaudTargets("stc-t2-1t");
  const std::vector<std::int32_t> rates{9600, 115200};
  const tesmirol::ClockSpan span{4000000, 35000000, {}};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto result = tesmirol::FindClocksForRates(targets, rates, span, {});
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindClockTwoRates)->Unit(benchmark::kMillisecond);

// The same where no clock is exact and the list is filled with balance
// points: the classic Timer 1 with SMOD, 9600 and 10000.
void BM_FindClockNearExact(benchmark::State& state) {
  const auto targets = tesmirol::FindBaudTargets("t1-12t");
  const std::vector<std::int32_t> rates{9600, 10000};
  const tesmirol::ClockSpan span{4000000, 35000000, {}};
  tesmirol::ClockFinderOptions options;
  options.tolerancePercent = 3.0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto result = tesmirol::FindClocksForRates(targets, rates, span, options);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindClockNearExact)->Unit(benchmark::kMillisecond);

// A chip family's every generator of UART1 (STC8), two rates, none exact
// together on 4 to 35 MHz: the widest search of one UART.
void BM_FindClockFamily(benchmark::State& state) {
  const auto targets = tesmirol::FindBaudTargets("stc8");
  const std::vector<std::int32_t> rates{9600, 10007};
  const tesmirol::ClockSpan span{4000000, 35000000, {}};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto result = tesmirol::FindClocksForRates(targets, rates, span, {});
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindClockFamily)->Unit(benchmark::kMillisecond);

// Two UARTs planned together at each clock: UART1 and UART2 of an STC8.
void BM_FindClockPlan(benchmark::State& state) {
  const auto chip = tesmirol::FindFamilyTargets("stc8");
  const std::vector<tesmirol::UartRequest> requests{{"UART1", 115200, "115200"}, {"UART2", 9600, "9600"}};
  const tesmirol::ClockSpan span{4000000, 35000000, {}};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto result = tesmirol::FindClocksForPlan(chip, requests, span, {});
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindClockPlan)->Unit(benchmark::kMillisecond);

}  // namespace
