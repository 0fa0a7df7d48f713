#pragma once
// How much a UART receiver lets the incoming rate stray from its own, worked
// out exactly from how it samples the line.
//
// The receiver's model. A receiver runs a tick clock of N ticks per bit of
// its own rate. The line idles high; the start bit's falling edge is seen at
// the first tick at which the line is low, so that tick lies anywhere from
// the edge up to (not including) one tick after it. That tick is tick 0 of
// the start bit; the receiver decides each bit at tick m of the bit (tick
// b x N + m from the start tick for bit b), by that one sample or by a vote
// of two of three samples at ticks m - 1, m, m + 1. The 8051 ticks at 16
// times its rate and votes at ticks 7, 8 and 9 (N = 16, m = 8): the stop bit
// of 8N1 (bit 9) is decided 9.5 of its bit times after the start tick.
//
// The derivation. Let the transmitter's bit last T and the receiver's R
// (T / R is the receiver's rate over the transmitter's), tau = R / N a tick,
// and t0 in [0, tau) the start tick after the edge. Bit b is on the line
// from b T to (b + 1) T; the deciding sample of bit b is at
//   s(b) = t0 + (b N + m) tau.
// When neighbouring bits differ (the worst data), a two-of-three vote gives
// bit b exactly when its middle sample lies in bit b: the outer samples are
// one tick either side and a bit is longer than two ticks, so the middle
// sample inside takes one neighbour with it, and outside it takes the other
// outer sample into the neighbouring bit. So the frame arrives whole when,
// for every sampled bit b (start, data, parity, first stop bit),
//   b T <= s(b) < e(b) T,
// where e(b) = b + 1, except for the first stop bit, whose end is the end of
// the last stop bit (the next start bit may follow at once, the worst case;
// a receiver checks the first stop bit only, and more stop bits are idle
// line to it).
//   Transmitter faster (T < R), samples drift late: the largest t0 comes as
//   close to tau as it likes, so (b N + m + 1) tau <= e(b) T, that is
//   T / R >= (b N + m + 1) / (N e(b)), which binds hardest at the first
//   stop bit (or, with two stop bits, at the last bit before it). The
//   transmitter may be faster by at most
//     fast = N e / (b N + m + 1) - 1.
//   Transmitter slower (T > R), samples drift early: t0 = 0 is the worst,
//   (b N + m) tau >= b T for the last sampled bit b = n - 1 (n sampled
//   bits), so T / R <= ((n - 1) N + m) / (N (n - 1)), and the transmitter may
//   be slower by at most
//     slow = 1 - R / T = m / ((n - 1) N + m).
// For the 8051 and 8N1 (n = 10, e = 10): fast = 160/153 - 1 = 7/153
// (4.575 %), slow = 8/152 = 1/19 (5.263 %); for 8E1 and 9N1 (n = 11):
// fast = 176/169 - 1 = 7/169 (4.142 %), slow = 8/168 = 1/21 (4.762 %).
//
// The application note's convention ("Determining Clock Accuracy
// Requirements for UART Communications": 16x sampling, a vote of three
// middle samples) gives 3.75 % for a 10-bit frame and 3.41 % for 11 bits:
// it allows half a bit less one tick for the start edge's uncertainty and
// one tick more so that all three voting samples stay inside the bit,
// 6/16 of a bit, and spreads that over the whole frame length, 10 or 11
// bits, the same both ways: 6 / (16 x 10) and 6 / (16 x 11). The exact
// figures are larger because the last sample comes 9.5 bit times after the
// start edge (not 10), the vote needs only its middle sample inside the bit
// when the neighbours differ, and the early side has no start-edge
// uncertainty against it. The note's figure is kept for comparison; the link
// check uses the exact one.

#include <cstdint>

#include "engine/fraction.h"
#include "engine/serial_frame.h"

namespace tesmirol {

struct SamplingScheme {
  std::uint32_t oversampling = 16;  // N: ticks per bit
  std::uint32_t decisionTick = 8;   // m: the deciding (middle) sample's tick within the bit
  std::uint32_t votedSamples = 3;   // 1, or 3 at m - 1, m, m + 1 with a two-of-three vote
};

// The 8051's UART: 16 ticks a bit, a vote of the samples at ticks 7, 8, 9.
inline constexpr SamplingScheme k8051Sampling{16, 8, 3};

// How far the incoming rate may stray: fast, how much faster the
// transmitter may run than the receiver ((transmitter rate / receiver
// rate) - 1 at most fast), and slow, how much slower (1 - (transmitter rate
// / receiver rate) at most slow).
struct ReceiverLimits {
  Fraction fast;
  Fraction slow;
};

// Where a receiver's limits come from: its sampling scheme, or a figure its
// data sheet states for the incoming rate's error (the same both ways).
enum class ReceiverModelKind { Sampling, StatedLimit };

struct ReceiverModel {
  ReceiverModelKind kind = ReceiverModelKind::Sampling;
  SamplingScheme scheme = k8051Sampling;  // for Sampling
  Fraction statedLimit;                   // for StatedLimit
};

// The exact limits of the scheme for the frame (see the derivation above),
// with every edge and sample up to shift bits from its place on the average
// rate's grid (a fractional divider that adds whole clocks at either end):
// the deciding sample's condition becomes (b N + m + 1) tau + d R <= e T
// when the transmitter is faster, (b N + m) tau - d R >= b T when slower,
// so fast = N e / (b N + m + 1 + N d) - 1 and slow = (m - N d) / ((n - 1) N
// + m - N d), never below 0.
ReceiverLimits ExactReceiverLimits(const SamplingScheme& scheme, const SerialFrame& frame,
                                   const Fraction& shift = {0, 1}) noexcept;

// The receiver's limits for the frame: the exact ones of its scheme, or its
// stated figure both ways, less what edges shifted by up to shift bits take
// from them.
ReceiverLimits LimitsOf(const ReceiverModel& receiver, const SerialFrame& frame,
                        const Fraction& shift = {0, 1}) noexcept;

// The application note's figure for the scheme and a frame of frameBits bits
// on the line: (m - 1 - (votedSamples - 1) / 2) / (N x frameBits).
Fraction ApplicationNoteTolerance(const SamplingScheme& scheme, std::uint32_t frameBits) noexcept;

// The smaller of the two limits: the mismatch the receiver takes either way.
Fraction SymmetricTolerance(const ReceiverLimits& limits) noexcept;

}  // namespace tesmirol
