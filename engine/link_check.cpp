#include "engine/link_check.h"

#include <limits>

namespace tesmirol {
namespace {

__extension__ using Uint128 = unsigned __int128;

// A product of up to 192 bits: high x 2^128 + low.
struct Wide {
  std::uint64_t high = 0;
  Uint128 low = 0;
};

// x * y exactly.
Wide Multiply(Uint128 x, std::uint64_t y) noexcept {
  const Uint128 lowPart = Uint128{static_cast<std::uint64_t>(x)} * y;
  const Uint128 highPart = (x >> 64U) * y;  // below 2^128
  Wide product;
  product.low = lowPart + (highPart << 64U);
  product.high = static_cast<std::uint64_t>(highPart >> 64U) + (product.low < lowPart ? 1U : 0U);
  return product;
}

bool IsAtMost(const Wide& a, const Wide& b) noexcept { return a.high != b.high ? a.high < b.high : a.low <= b.low; }

enum class Sense { Fast, Slow };

// a + b; shifts are small fractions of a bit with small denominators.
Fraction AddFractions(const Fraction& a, const Fraction& b) noexcept {
  return ReducedFraction(a.numerator * b.denominator + b.numerator * a.denominator, a.denominator * b.denominator);
}

// One transmitter and one receiver: rates t = a / b and r = c / d, the
// tolerances in ppb.
struct Pair {
  Fraction transmitter;
  std::uint64_t transmitterPpb = 0;
  Fraction receiver;
  std::uint64_t receiverPpb = 0;
};

// Whether the worst mismatch in the sense is at most limit x share, where
// share is 1 or 1/2 (half = true).
//   fast: a d (G + t) q' <= b c (G - r) (q' + p)
//   slow: a d (G - t) q' >= b c (G + r) (q' - p)
// with the limit p / q and q' = q or 2 q.
bool IsWithin(const Pair& pair, Sense sense, const Fraction& limit, bool half) noexcept {
  const Uint128 transmitterSide = Uint128{pair.transmitter.numerator} * pair.receiver.denominator;
  const Uint128 receiverSide = Uint128{pair.transmitter.denominator} * pair.receiver.numerator;
  const std::uint64_t scale = half ? 2 * limit.denominator : limit.denominator;
  if (sense == Sense::Fast) {
    const Wide left = Multiply(transmitterSide, (kPartsPerBillion + pair.transmitterPpb) * scale);
    const Wide right = Multiply(receiverSide, (kPartsPerBillion - pair.receiverPpb) * (scale + limit.numerator));
    return IsAtMost(left, right);
  }
  if (limit.numerator >= scale) {
    return true;  // a limit of the whole rate or more: any slower rate passes
  }
  const Wide left = Multiply(transmitterSide, (kPartsPerBillion - pair.transmitterPpb) * scale);
  const Wide right = Multiply(receiverSide, (kPartsPerBillion + pair.receiverPpb) * (scale - limit.numerator));
  return IsAtMost(right, left);
}

// The worst mismatch in the sense, in percent, for display.
double WorstPercent(const Pair& pair, Sense sense) noexcept {
  const double ratio = FractionValue(pair.transmitter) / FractionValue(pair.receiver);
  const auto g = static_cast<double>(kPartsPerBillion);
  const auto t = static_cast<double>(pair.transmitterPpb);
  const auto r = static_cast<double>(pair.receiverPpb);
  const double mismatch = sense == Sense::Fast ? ratio * (g + t) / (g - r) - 1.0 : 1.0 - ratio * (g - t) / (g + r);
  return mismatch > 0.0 ? mismatch * 100.0 : 0.0;
}

MismatchSense CheckSense(const Pair& pair, Sense sense, const Fraction& limit) noexcept {
  MismatchSense result;
  result.limit = limit;
  if (IsWithin(pair, sense, limit, true)) {
    result.verdict = LinkVerdict::Works;
  } else if (IsWithin(pair, sense, limit, false)) {
    result.verdict = LinkVerdict::Marginal;
  } else {
    result.verdict = LinkVerdict::Fails;
  }
  result.worstPercent = WorstPercent(pair, sense);
  result.limitPercent = FractionValue(limit) * 100.0;
  result.marginPercent = result.limitPercent - result.worstPercent;
  return result;
}

LinkVerdict Worse(LinkVerdict a, LinkVerdict b) noexcept { return static_cast<int>(a) >= static_cast<int>(b) ? a : b; }

LinkDirection CheckDirection(const Pair& pair, const ReceiverLimits& limits) noexcept {
  LinkDirection direction;
  direction.fast = CheckSense(pair, Sense::Fast, limits.fast);
  direction.slow = CheckSense(pair, Sense::Slow, limits.slow);
  direction.verdict = Worse(direction.fast.verdict, direction.slow.verdict);
  if (direction.fast.verdict != direction.slow.verdict) {
    direction.fastBinds = direction.fast.verdict == direction.verdict;
  } else {
    // The larger share of its limit; a display choice only.
    direction.fastBinds = direction.fast.worstPercent * direction.slow.limitPercent >=
                          direction.slow.worstPercent * direction.fast.limitPercent;
  }
  return direction;
}

// The receiver's clock tolerance to add when it receives: none for a stated
// limit, which is the data sheet's figure for the chip as a whole.
std::uint64_t ReceivingPpb(const LinkEnd& receiver) noexcept {
  return receiver.receiver.kind == ReceiverModelKind::StatedLimit ? 0 : receiver.tolerance.partsPerBillion;
}

// Whether both directions work (within half of each limit) with this end's
// tolerance at ownPpb.
bool BothWork(const LinkEnd& own, std::uint64_t ownPpb, const LinkEnd& peer, const ReceiverLimits& peerLimits,
              const ReceiverLimits& ownLimits) noexcept {
  const Pair out{own.rate, ownPpb, peer.rate, ReceivingPpb(peer)};
  const Pair in{peer.rate, peer.tolerance.partsPerBillion, own.rate,
                own.receiver.kind == ReceiverModelKind::StatedLimit ? 0 : ownPpb};
  return IsWithin(out, Sense::Fast, peerLimits.fast, true) && IsWithin(out, Sense::Slow, peerLimits.slow, true) &&
         IsWithin(in, Sense::Fast, ownLimits.fast, true) && IsWithin(in, Sense::Slow, ownLimits.slow, true);
}

constexpr std::uint64_t kPpbPerPpm = 1000;

std::optional<std::uint32_t> MaxOwnTolerance(const LinkEnd& own, const LinkEnd& peer, const ReceiverLimits& peerLimits,
                                             const ReceiverLimits& ownLimits) noexcept {
  if (!BothWork(own, 0, peer, peerLimits, ownLimits)) {
    return std::nullopt;
  }
  // Every whole ppm below the 10 % the check takes; each constraint only
  // tightens as the tolerance grows.
  std::uint64_t low = 0;
  std::uint64_t high = kToleranceLimitPpb / kPpbPerPpm - 1;
  if (BothWork(own, high * kPpbPerPpm, peer, peerLimits, ownLimits)) {
    return static_cast<std::uint32_t>(high);
  }
  while (high - low > 1) {
    const std::uint64_t middle = low + (high - low) / 2;
    if (BothWork(own, middle * kPpbPerPpm, peer, peerLimits, ownLimits)) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return static_cast<std::uint32_t>(low);
}

}  // namespace

LinkCheck CheckLink(const LinkEnd& own, const LinkEnd& peer, const SerialFrame& frame) {
  // Both directions carry one end's edges and the other's samples.
  const Fraction shift = AddFractions(own.edgeShift, peer.edgeShift);
  const ReceiverLimits peerLimits = LimitsOf(peer.receiver, frame, shift);
  const ReceiverLimits ownLimits = LimitsOf(own.receiver, frame, shift);
  LinkCheck check;
  check.ownToPeer =
      CheckDirection(Pair{own.rate, own.tolerance.partsPerBillion, peer.rate, ReceivingPpb(peer)}, peerLimits);
  check.peerToOwn =
      CheckDirection(Pair{peer.rate, peer.tolerance.partsPerBillion, own.rate, ReceivingPpb(own)}, ownLimits);
  check.verdict = Worse(check.ownToPeer.verdict, check.peerToOwn.verdict);
  check.maxOwnTolerancePpm = MaxOwnTolerance(own, peer, peerLimits, ownLimits);
  return check;
}

std::string_view LinkVerdictName(LinkVerdict verdict) noexcept {
  switch (verdict) {
    case LinkVerdict::Works:
      return "Works";
    case LinkVerdict::Marginal:
      return "Marginal";
    case LinkVerdict::Fails:
      return "Fails";
  }
  return "Works";
}

const MismatchSense& BindingSense(const LinkDirection& direction) noexcept {
  return direction.fastBinds ? direction.fast : direction.slow;
}

bool OwnSendingIsWorse(const LinkCheck& check) noexcept {
  if (check.ownToPeer.verdict != check.peerToOwn.verdict) {
    return static_cast<int>(check.ownToPeer.verdict) > static_cast<int>(check.peerToOwn.verdict);
  }
  const MismatchSense& out = BindingSense(check.ownToPeer);
  const MismatchSense& in = BindingSense(check.peerToOwn);
  return out.worstPercent * in.limitPercent >= in.worstPercent * out.limitPercent;
}

const LinkDirection& WorseDirection(const LinkCheck& check) noexcept {
  return OwnSendingIsWorse(check) ? check.ownToPeer : check.peerToOwn;
}

LinkEnd Uart8051End(const Fraction& rate, const ClockTolerance& tolerance, const Fraction& edgeShift) noexcept {
  return LinkEnd{rate, tolerance, ReceiverModel{ReceiverModelKind::Sampling, k8051Sampling, {}}, edgeShift};
}

std::optional<Fraction> ClassicTimer1Rate(const ExactFrequency& crystal, std::uint32_t reload,
                                          std::uint32_t smod) noexcept {
  if (reload > 255 || smod > 1 || crystal.denominator == 0) {
    return std::nullopt;
  }
  const Uint128 numerator = Uint128{crystal.numerator} << smod;
  const Uint128 denominator = Uint128{crystal.denominator} * 384U * (256U - reload);
  // Lowest terms first, then the fit.
  Uint128 a = numerator;
  Uint128 b = denominator;
  while (b != 0) {
    const Uint128 rest = a % b;
    a = b;
    b = rest;
  }
  const Uint128 top = numerator / a;
  const Uint128 bottom = denominator / a;
  constexpr Uint128 kMax = std::numeric_limits<std::uint64_t>::max();
  if (top > kMax || bottom > kMax) {
    return std::nullopt;
  }
  return Fraction{static_cast<std::uint64_t>(top), static_cast<std::uint64_t>(bottom)};
}

}  // namespace tesmirol
