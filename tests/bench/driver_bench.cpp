#include <benchmark/benchmark.h>

#include <span>

#include "codegen/uart_driver.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

namespace {

// The whole interrupt-driven driver of one UART as one text, from a solved
// setting: what tesmirol-cli --driver generates.
void BM_GenerateUartDriver(benchmark::State& state) {
  const tesmirol::BaudTarget& target = *tesmirol::FindBaudTarget("stc-u2-t2");
  const auto inputs = tesmirol::ReadTargetInputs("22.1184MHz", "9600");
  const tesmirol::TargetSolution solution = tesmirol::SolveTarget(target, *inputs);
  const tesmirol::TargetCodeRequest request{&target, solution.best, "22.1184MHZ", "9600"};
  const tesmirol::DriverOptions options;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto text = tesmirol::GenerateDriverText(std::span(&request, 1), options);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_GenerateUartDriver);

}  // namespace
