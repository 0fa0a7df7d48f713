#include <benchmark/benchmark.h>

#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

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

}  // namespace
