#include <benchmark/benchmark.h>

#include <vector>

#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace {

// One target with SMOD: both neighbours for both settings, inputs read once.
void BM_SolveTarget(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("t1-12t");
  const auto inputs = tesmirol::ReadTargetInputs("12MHz", "9600");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, *inputs);
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolveTarget);

// The same from the texts, as the command line does for one report.
void BM_SolveTargetFromTexts(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("t1-12t");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, "11.0592MHz", "9600");
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolveTargetFromTexts);

// A chip family: every generator and clock of the STC15 tried, the best
// taken; the look-up of the family and the reading of the texts included.
void BM_SolveFamily(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const auto targets = tesmirol::FindBaudTargets("stc15");
    const auto inputs = tesmirol::ReadTargetInputs("22.1184MHz", "115200");
    auto family = tesmirol::SolveTargets(targets, *inputs);
    benchmark::DoNotOptimize(family);
  }
}
BENCHMARK(BM_SolveFamily);

// One UART on a generator with a prescaler set: the N76E003's Timer 3, all
// eight prescalers and both SMOD settings tried with the reload.
void BM_SolvePrescalerSet(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("n76-t3-uart0");
  const auto inputs = tesmirol::ReadTargetInputs("16.6MHz", "115200");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, *inputs);
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolvePrescalerSet);

// One UART on the mantissa/exponent generator: the CC2530's USART0, all 17
// exponents tried with both neighbours of the exact mantissa each.
void BM_SolveMantissaExponent(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("cc253x-usart0");
  const auto inputs = tesmirol::ReadTargetInputs("32MHz", "115200");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, *inputs);
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolveMantissaExponent);

// One UART on the EFM8BB3 UART1's own 16-bit generator: all eight SBCON1
// prescalers tried with both neighbours of the exact reload count each.
void BM_SolveEfm8Uart1(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("efm8bb3-uart1");
  const auto inputs = tesmirol::ReadTargetInputs("24.5MHz", "115200");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, *inputs);
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolveEfm8Uart1);

// The ADuC Timer 3: eight DIVs, both neighbours of the exact count each.
void BM_SolveAducTimer3(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("aduc84x-t3");
  const auto inputs = tesmirol::ReadTargetInputs("16.777216MHz", "115200");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto solution = tesmirol::SolveTarget(target, *inputs);
    benchmark::DoNotOptimize(solution);
  }
}
BENCHMARK(BM_SolveAducTimer3);

// A plan of four UARTs of an STC8H at four rates: every generator of each
// UART solved, every assignment tried; the family's look-up included.
void BM_PlanFourUarts(benchmark::State& state) {
  const auto inputs = tesmirol::ReadTargetInputs("22.1184MHz", "1");
  const std::vector<tesmirol::UartRequest> requests = {
      {"UART1", 115200, "115200"}, {"UART2", 9600, "9600"}, {"UART3", 57600, "57600"}, {"UART4", 38400, "38400"}};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const auto targets = tesmirol::FindFamilyTargets("stc8");
    auto plan = tesmirol::PlanUarts(targets, *inputs, requests, 1.0);
    benchmark::DoNotOptimize(plan);
  }
}
BENCHMARK(BM_PlanFourUarts);

// The same four UARTs all at 9600 bps: every group of UARTs on Timer 2 has a
// shared setting to search.
void BM_PlanFourUartsOneRate(benchmark::State& state) {
  const auto inputs = tesmirol::ReadTargetInputs("11.0592MHz", "1");
  const std::vector<tesmirol::UartRequest> requests = {
      {"UART1", 9600, "9600"}, {"UART2", 9600, "9600"}, {"UART3", 9600, "9600"}, {"UART4", 9600, "9600"}};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const auto targets = tesmirol::FindFamilyTargets("stc8");
    auto plan = tesmirol::PlanUarts(targets, *inputs, requests, 1.0);
    benchmark::DoNotOptimize(plan);
  }
}
BENCHMARK(BM_PlanFourUartsOneRate);

}  // namespace
