#include <benchmark/benchmark.h>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"

namespace {

// The calculation alone, on the start-up inputs.
void BM_CalculateBaud(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto calc = tesmirol::CalculateBaud("11.0592MHz", "9600");
    benchmark::DoNotOptimize(calc);
  }
}
BENCHMARK(BM_CalculateBaud);

// What one keystroke costs the engine: calculation, both deviation texts and
// the generated code (template read afresh and filled).
void BM_CalculateAndGenerate(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const auto calc = tesmirol::CalculateBaud("11.0592MHz", "9600");
    auto smod0 = tesmirol::FormatDeviation(calc->mode[0].deviation);
    auto smod1 = tesmirol::FormatDeviation(calc->mode[1].deviation);
    auto code = tesmirol::GenerateInitCode(*calc);
    benchmark::DoNotOptimize(smod0);
    benchmark::DoNotOptimize(smod1);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK(BM_CalculateAndGenerate);

// The parts of one keystroke on their own.
void BM_FormatDeviation(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto text = tesmirol::FormatDeviation(-18.625);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FormatDeviation);

void BM_GenerateInitCode(benchmark::State& state) {
  const auto calc = tesmirol::CalculateBaud("11.0592MHz", "9600");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto code = tesmirol::GenerateInitCode(*calc);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK(BM_GenerateInitCode);

// The warning path: no template is read.
void BM_CalculateAndWarn(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const auto calc = tesmirol::CalculateBaud("12MHz", "9600");
    auto code = tesmirol::GenerateInitCode(*calc);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK(BM_CalculateAndWarn);

}  // namespace

BENCHMARK_MAIN();
