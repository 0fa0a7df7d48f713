#include "engine/receiver_sampling.h"

namespace tesmirol {
namespace {

// The fast limit N e / (k + N d) - 1 = (N e - k - N d) / (k + N d) for a
// sampled bit whose deciding sample is k ticks after the start tick at the
// latest, and which must come before e bit times of the transmitter, with
// the sample or the edge up to d = p / q bits late (0 when negative).
Fraction FastLimitAt(std::uint32_t oversampling, std::uint32_t endBits, std::uint64_t latestTicks,
                     const Fraction& shift) noexcept {
  const std::uint64_t q = shift.denominator;
  const std::uint64_t endTicks = std::uint64_t{oversampling} * endBits * q;
  const std::uint64_t lateTicks = std::uint64_t{oversampling} * shift.numerator;
  const std::uint64_t latest = (latestTicks * q) + lateTicks;
  return ReducedFraction(endTicks > latest ? endTicks - latest : 0, latest);
}

}  // namespace

ReceiverLimits ExactReceiverLimits(const SamplingScheme& scheme, const SerialFrame& frame,
                                   const Fraction& shift) noexcept {
  const std::uint32_t n = SampledBits(frame);
  const std::uint32_t ticks = scheme.oversampling;
  const std::uint32_t m = scheme.decisionTick;
  // The first stop bit (b = n - 1) may be sampled until the last stop bit ends.
  const std::uint64_t stopBit = n - 1;
  Fraction fast = FastLimitAt(ticks, n - 1 + frame.stopBits, stopBit * ticks + m + 1, shift);
  // The bit before it must be sampled before it ends: it binds when the stop
  // bits give the first stop bit more room than one bit.
  const std::uint64_t lastBefore = n - 2;
  const Fraction beforeStop = FastLimitAt(ticks, n - 1, lastBefore * ticks + m + 1, shift);
  if (IsLess(beforeStop, fast)) {
    fast = beforeStop;
  }
  // Slow: (m q - N p) / ((b N + m) q - N p), the last sample up to d early.
  const std::uint64_t q = shift.denominator;
  const std::uint64_t early = std::uint64_t{ticks} * shift.numerator;
  const std::uint64_t room = std::uint64_t{m} * q;
  const Fraction slow =
      room > early ? ReducedFraction(room - early, (stopBit * ticks + m) * q - early) : Fraction{0, 1};
  return ReceiverLimits{fast, slow};
}

ReceiverLimits LimitsOf(const ReceiverModel& receiver, const SerialFrame& frame, const Fraction& shift) noexcept {
  if (receiver.kind == ReceiverModelKind::StatedLimit) {
    // A stated limit is a steady rate error over the frame: a shift of d
    // bits costs d / (n - 2) of it, the span before the earliest bit that
    // can bind (n sampled bits).
    const std::uint64_t span = SampledBits(frame) > 2 ? SampledBits(frame) - 2 : 1;
    const Fraction& stated = receiver.statedLimit;
    const std::uint64_t whole = stated.numerator * shift.denominator * span;
    const std::uint64_t cost = stated.denominator * shift.numerator;
    const Fraction limit =
        whole > cost ? ReducedFraction(whole - cost, stated.denominator * shift.denominator * span) : Fraction{0, 1};
    return ReceiverLimits{limit, limit};
  }
  return ExactReceiverLimits(receiver.scheme, frame, shift);
}

Fraction ApplicationNoteTolerance(const SamplingScheme& scheme, std::uint32_t frameBits) noexcept {
  const std::uint32_t outerOffset = (scheme.votedSamples - 1) / 2;
  const std::uint32_t allowedTicks = scheme.decisionTick > outerOffset + 1 ? scheme.decisionTick - 1 - outerOffset : 0;
  return ReducedFraction(allowedTicks, std::uint64_t{scheme.oversampling} * frameBits);
}

Fraction SymmetricTolerance(const ReceiverLimits& limits) noexcept {
  return IsLess(limits.slow, limits.fast) ? limits.slow : limits.fast;
}

}  // namespace tesmirol
