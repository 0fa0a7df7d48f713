#include "engine/receiver_sampling.h"

namespace tesmirol {
namespace {

// The fast limit N e / k - 1 = (N e - k) / k for a sampled bit whose deciding
// sample is k ticks after the start tick at the latest, and which must come
// before e bit times of the transmitter.
Fraction FastLimitAt(std::uint32_t oversampling, std::uint32_t endBits, std::uint64_t latestTicks) noexcept {
  const std::uint64_t endTicks = std::uint64_t{oversampling} * endBits;
  return ReducedFraction(endTicks > latestTicks ? endTicks - latestTicks : 0, latestTicks);
}

}  // namespace

ReceiverLimits ExactReceiverLimits(const SamplingScheme& scheme, const SerialFrame& frame) noexcept {
  const std::uint32_t n = SampledBits(frame);
  const std::uint32_t ticks = scheme.oversampling;
  const std::uint32_t m = scheme.decisionTick;
  // The first stop bit (b = n - 1) may be sampled until the last stop bit ends.
  const std::uint64_t stopBit = n - 1;
  Fraction fast = FastLimitAt(ticks, n - 1 + frame.stopBits, stopBit * ticks + m + 1);
  // The bit before it must be sampled before it ends: it binds when the stop
  // bits give the first stop bit more room than one bit.
  const std::uint64_t lastBefore = n - 2;
  const Fraction beforeStop = FastLimitAt(ticks, n - 1, lastBefore * ticks + m + 1);
  if (IsLess(beforeStop, fast)) {
    fast = beforeStop;
  }
  const Fraction slow = ReducedFraction(m, stopBit * ticks + m);
  return ReceiverLimits{fast, slow};
}

ReceiverLimits LimitsOf(const ReceiverModel& receiver, const SerialFrame& frame) noexcept {
  if (receiver.kind == ReceiverModelKind::StatedLimit) {
    return ReceiverLimits{receiver.statedLimit, receiver.statedLimit};
  }
  return ExactReceiverLimits(receiver.scheme, frame);
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
