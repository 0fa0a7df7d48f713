// Fuzzes the link check the way --peer asks it: the input holds CRYSTAL,
// BAUD, the --target of this 8051 and the texts of --peer (up to four,
// separated by blanks, each PEER or UART=PEER), --clock-tolerance and
// --frame, cut at NUL bytes and read by the command line's own readers of
// the link options. This end runs at its best setting's rate, which must be
// the rate its registers give; the verdict must agree with its own margins,
// the directions must read the same from the other end, and the largest
// tolerance of this end's clock must be the edge where both directions stop
// working.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/link_options.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"
#include "engine/target_solver.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/setting_check.h"

namespace tesmirol::fuzz {
namespace {

constexpr std::uint64_t kPpbPerPpm = 1000;
// The most --peer options one input gives (PEER, or UART=PEER each).
constexpr std::size_t kMaxPeers = 4;

// The percentages are doubles worked out from the exact fractions the
// verdict comes from, so they may stray from them by rounding alone.
bool AtMost(double a, double b) { return a <= b + 1e-9 * std::max(1.0, std::fabs(b)); }

void CheckSense(const MismatchSense& sense) {
  Require(sense.worstPercent >= 0.0 && sense.limitPercent >= 0.0, "percentages are not negative");
  Require(sense.marginPercent == sense.limitPercent - sense.worstPercent, "the margin is the limit less the worst");
  switch (sense.verdict) {
    case LinkVerdict::Works:
      Require(AtMost(sense.worstPercent, sense.limitPercent / 2.0), "works: the worst case within half the limit");
      break;
    case LinkVerdict::Marginal:
      Require(AtMost(sense.limitPercent / 2.0, sense.worstPercent) && AtMost(sense.worstPercent, sense.limitPercent),
              "marginal: the worst case beyond half the limit, within the limit");
      break;
    case LinkVerdict::Fails:
      Require(AtMost(sense.limitPercent, sense.worstPercent), "fails: the worst case beyond the limit");
      break;
  }
}

LinkVerdict Worse(LinkVerdict a, LinkVerdict b) { return static_cast<int>(a) >= static_cast<int>(b) ? a : b; }

void CheckDirection(const LinkDirection& direction) {
  CheckSense(direction.fast);
  CheckSense(direction.slow);
  Require(direction.verdict == Worse(direction.fast.verdict, direction.slow.verdict),
          "a direction's verdict is its worse sense's");
}

bool SameDirection(const LinkDirection& a, const LinkDirection& b) {
  return a.verdict == b.verdict && a.fast.verdict == b.fast.verdict && a.slow.verdict == b.slow.verdict;
}

void CheckVerdict(const LinkEnd& own, const LinkEnd& peer, const SerialFrame& frame) {
  const LinkCheck check = CheckLink(own, peer, frame);
  CheckDirection(check.ownToPeer);
  CheckDirection(check.peerToOwn);
  Require(check.verdict == Worse(check.ownToPeer.verdict, check.peerToOwn.verdict),
          "the link's verdict is its worse direction's");
  if (check.verdict != LinkVerdict::Fails) {
    for (const LinkDirection* direction : {&check.ownToPeer, &check.peerToOwn}) {
      Require(AtMost(0.0, direction->fast.marginPercent) && AtMost(0.0, direction->slow.marginPercent),
              "a link that does not fail has no negative margin");
    }
  } else {
    // The direction a report names, and its sense shown, fail: their
    // margin is negative (CheckSense).
    const LinkDirection& named = WorseDirection(check);
    Require(named.verdict == LinkVerdict::Fails && BindingSense(named).verdict == LinkVerdict::Fails,
            "a failing link names a failing direction and sense");
  }

  // The ends swapped on purpose: the peer as this end.
  const LinkCheck reversed = CheckLink(peer, own, frame);  // NOLINT(readability-suspicious-call-argument)
  Require(SameDirection(reversed.ownToPeer, check.peerToOwn) && SameDirection(reversed.peerToOwn, check.ownToPeer),
          "each direction reads the same from the other end");

  // The largest tolerance of this end: both directions work with it, and
  // with one ppm more (below the 10 % the check takes) they no longer do.
  LinkEnd atTolerance = own;
  if (check.maxOwnTolerancePpm) {
    const std::uint64_t ppm = *check.maxOwnTolerancePpm;
    atTolerance.tolerance.partsPerBillion = ppm * kPpbPerPpm;
    Require(CheckLink(atTolerance, peer, frame).verdict == LinkVerdict::Works,
            "the link works at the largest tolerance of this end");
    if ((ppm + 1) * kPpbPerPpm < kToleranceLimitPpb) {
      atTolerance.tolerance.partsPerBillion = (ppm + 1) * kPpbPerPpm;
      Require(CheckLink(atTolerance, peer, frame).verdict != LinkVerdict::Works,
              "the link stops working one ppm above the largest tolerance");
    }
  } else {
    atTolerance.tolerance.partsPerBillion = 0;
    Require(CheckLink(atTolerance, peer, frame).verdict != LinkVerdict::Works,
            "no largest tolerance only when even a perfect clock does not work");
  }
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol;
  using namespace tesmirol::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsText(data, size), 6);
  cli::CommandLineOptions options;
  if (!fields[5].empty()) {
    const std::optional<SerialFrame> frame = ReadSerialFrame(fields[5]);
    if (!frame) {
      return 0;
    }
    options.frame = *frame;
  }
  cli::LinkOptionTexts texts;
  texts.peerGiven = true;
  for (const std::string_view peer : Words(fields[3], kMaxPeers)) {
    texts.peers.emplace_back(peer);
  }
  texts.toleranceGiven = !fields[4].empty();
  texts.tolerance = std::string(fields[4]);
  texts.frameGiven = !fields[5].empty();
  texts.frame = std::string(fields[5]);
  const std::optional<std::string> problem = cli::ReadLinkOptions(texts, Language::English, options);
  Require(problem.has_value() != options.link.has_value(), "the link options are read, or refused with a reason");
  if (problem) {
    Require(!problem->empty(), "a refused link option says why");
    return 0;
  }
  const cli::LinkRequest& request = *options.link;
  Require(request.ownTolerance.partsPerBillion < kToleranceLimitPpb, "a tolerance read is below 10 %");

  const std::optional<TargetInputs> inputs = ReadTargetInputs(fields[0], fields[1]);
  if (!inputs) {
    return 0;
  }
  const std::vector<const BaudTarget*> chip = PickChip(fields[2]);
  const FamilySolution solved = SolveTargets(chip, *inputs);
  if (!solved.best) {
    return 0;
  }
  const TargetSolution& best = solved.solutions[*solved.best];
  CheckSettingRegisters(*best.target, best.best, inputs->frequency);
  const Fraction ownRate{best.best.achievedNumerator, best.best.achievedDenominator};
  if (best.target->generator == GeneratorKind::Timer1Mode2 && best.target->divider == 384) {
    const std::optional<Fraction> classic = ClassicTimer1Rate(inputs->frequency, best.best.reload, best.best.smod);
    Require(classic && IsEqual(*classic, ownRate), "the classic Timer 1's rate is the target's");
  }

  // The other end of this UART: its own --peer UART=PEER, else --peer PEER.
  const PeerSpec* peerSpec = cli::PeerOfUart(request, best.target->uart);
  if (peerSpec == nullptr) {
    return 0;
  }
  const PeerEnd peer = ResolvePeer(*peerSpec, inputs->baud);
  if (peer.status != PeerEndStatus::Ok) {
    // A peer that cannot run near the rate fails the link for that stated
    // reason; a second 8051 only when none of its generators reaches it.
    if (peer.status == PeerEndStatus::TargetCannot) {
      const std::optional<TargetInputs> peerInputs =
          ReadTargetInputs(peerSpec->crystalText, std::to_string(inputs->baud));
      Require(!peerInputs || !SolveTargets(FindBaudTargets(peerSpec->target), *peerInputs).best,
              "a second 8051 cannot make the rate only when no generator of it does");
    }
    return 0;
  }
  if (peer.target != nullptr) {
    const std::optional<ExactFrequency> peerCrystal = ReadExactCrystal(peerSpec->crystalText);
    Require(peerCrystal.has_value(), "a second 8051's crystal reads exactly");
    CheckSettingRegisters(*peer.target, peer.setting, *peerCrystal);
    Require(IsEqual(peer.end.rate, Fraction{peer.setting.achievedNumerator, peer.setting.achievedDenominator}),
            "a second 8051 runs at its setting's rate");
  }
  CheckVerdict(Uart8051End(ownRate, request.ownTolerance), peer.end, request.frame);
  return 0;
}
