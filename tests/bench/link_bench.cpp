#include <benchmark/benchmark.h>

#include "engine/link_check.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

namespace {

// The link check for one setting and one peer: an STC8 at 24 MHz for
// 115200 on its internal RC (1.5 %) against a CH340 asked for 115200. The
// adapter's rate, both directions' verdicts and the largest tolerance of
// this end's clock; the setting is solved once, outside the loop.
void BM_CheckLinkWithAdapter(benchmark::State& state) {
  const auto inputs = tesmirol::ReadTargetInputs("24MHz", "115200");
  const auto family = tesmirol::SolveTargets(tesmirol::FindBaudTargets("stc8"), *inputs);
  const tesmirol::TargetSetting& setting = family.solutions.at(*family.best).best;
  const tesmirol::LinkEnd own = tesmirol::Uart8051End(
      tesmirol::Fraction{setting.achievedNumerator, setting.achievedDenominator}, tesmirol::ClockTolerance{15'000'000});
  const tesmirol::PeerSpec peer = tesmirol::ReadPeer("ch340").peer;
  const tesmirol::SerialFrame frame = *tesmirol::ReadSerialFrame("8N1");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const tesmirol::PeerEnd end = tesmirol::ResolvePeer(peer, inputs->baud);
    auto check = tesmirol::CheckLink(own, end.end, frame);
    benchmark::DoNotOptimize(check);
  }
}
BENCHMARK(BM_CheckLinkWithAdapter);

// The same against a second 8051 named TARGET@CRYSTAL: its family solved
// for the rate inside the loop, as the command line does per report.
void BM_CheckLinkWithSecond8051(benchmark::State& state) {
  const auto inputs = tesmirol::ReadTargetInputs("11.0592MHz", "115200");
  const auto family = tesmirol::SolveTargets(tesmirol::FindBaudTargets("stc8"), *inputs);
  const tesmirol::TargetSetting& setting = family.solutions.at(*family.best).best;
  const tesmirol::LinkEnd own = tesmirol::Uart8051End(
      tesmirol::Fraction{setting.achievedNumerator, setting.achievedDenominator}, tesmirol::ClockTolerance{100'000});
  const tesmirol::PeerSpec peer = tesmirol::ReadPeer("stc15@22.1184MHz").peer;
  const tesmirol::SerialFrame frame = *tesmirol::ReadSerialFrame("8N1");
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    const tesmirol::PeerEnd end = tesmirol::ResolvePeer(peer, inputs->baud);
    auto check = tesmirol::CheckLink(own, end.end, frame);
    benchmark::DoNotOptimize(check);
  }
}
BENCHMARK(BM_CheckLinkWithSecond8051);

}  // namespace
