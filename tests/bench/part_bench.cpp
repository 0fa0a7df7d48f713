#include <benchmark/benchmark.h>

#include "engine/part_catalogue.h"

namespace {

// A part number as printed, with its speed, temperature and package tail:
// the family and target names tried first, then the binary search.
void BM_ResolvePartNumber(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto chip = tesmirol::ResolveChipName("STC8H8K64U-45I-LQFP64");
    benchmark::DoNotOptimize(chip);
  }
}
BENCHMARK(BM_ResolvePartNumber);

// A part of a family with no generator yet: the same search, then the
// family's generators looked for and not found.
void BM_ResolveUnsupportedPart(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto chip = tesmirol::ResolveChipName("CY7C68013A-56PVXC");
    benchmark::DoNotOptimize(chip);
  }
}
BENCHMARK(BM_ResolveUnsupportedPart);

// The nearest names for a mistyped part: only on the way to a usage error,
// measured so that it stays well below what a user notices.
void BM_NearestChipNames(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    auto nearest = tesmirol::NearestChipNames("STC8H8K46U");
    benchmark::DoNotOptimize(nearest);
  }
}
BENCHMARK(BM_NearestChipNames);

}  // namespace
