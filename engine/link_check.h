#pragma once
// Will the serial link between this 8051 and its peer work? Garbled
// characters come from the whole link: this end's rate error and its
// clock's tolerance, the other end's own rate error and tolerance, and how
// much each receiver lets the incoming rate stray (receiver_sampling.h).
//
// For each direction the transmitter's rate over the receiver's is worst at
// the corners of both clocks' tolerances:
//   fast = A_t (1 + t_t) / (A_r (1 - t_r)) - 1,
//   slow = 1 - A_t (1 - t_t) / (A_r (1 + t_r)),
// with A the rates really achieved (exact fractions) and t the tolerances.
// A receiver with a stated limit (a data sheet's figure for the incoming
// rate's error, such as the CH340's 2 %) is taken at its word for the chip
// as a whole: its own clock's tolerance is not added again when it
// receives.
// Each is held to the receiver's limit for that sense, exactly (products of
// up to 192 bits); doubles are for display only. Where an end's generator
// reaches its rate only on average (a fractional divider that adds whole
// clocks), each receiver's limits shrink by the two ends' edge shifts: the
// worst bit, not the average, decides (receiver_sampling.h).
//
// The verdict, per sense, direction and overall (the worst of them):
//   Works     the worst case uses at most half the receiver's limit,
//   Marginal  more than half, up to the limit itself,
//   Fails     beyond the limit: some character is received wrongly.
// The limit covers the clocks' timing only. Edge distortion from line
// capacitance, slow RS-232 and optocoupler edges, noise near the sampling
// point and an adapter's receiver whose sampling is only assumed eat into
// the same half bit; keeping half the limit for them is the margin designers
// commonly keep (data sheets' "2 % per side" rules of thumb against limits
// of about 4 %). Marginal links pass on a bench and fail in the field.

#include <cstdint>
#include <optional>

#include "engine/clock_tolerance.h"
#include "engine/exact_crystal.h"
#include "engine/fraction.h"
#include "engine/receiver_sampling.h"
#include "engine/serial_frame.h"

namespace tesmirol {

// One end of the link: the rate it really runs at, its clock's tolerance,
// and how it receives.
struct LinkEnd {
  Fraction rate;  // hertz, the generator's exact rate at the nominal clock
  ClockTolerance tolerance;
  ReceiverModel receiver;
  // How far, in bits, an edge this end sends or a sample it takes may lie
  // from where its average rate puts it (a fractional divider that adds
  // clocks); 0 for a generator whose bits are all alike.
  Fraction edgeShift{0, 1};
};

enum class LinkVerdict { Works, Marginal, Fails };

// One sense of the mismatch in one direction.
struct MismatchSense {
  LinkVerdict verdict = LinkVerdict::Works;
  Fraction limit;              // the receiver's limit in this sense
  double worstPercent = 0.0;   // the worst mismatch in this sense, 0 when the corners never reach it
  double limitPercent = 0.0;   // the limit, in percent
  double marginPercent = 0.0;  // limitPercent - worstPercent
};

// One direction: a transmitter and the receiver at the other end.
struct LinkDirection {
  MismatchSense fast;                        // the transmitter faster than the receiver
  MismatchSense slow;                        // slower
  LinkVerdict verdict = LinkVerdict::Works;  // the worse of the two
  bool fastBinds = true;                     // the fast sense uses the larger share of its limit (the one to show)
};

struct LinkCheck {
  LinkDirection ownToPeer;  // this 8051 sends, the peer receives
  LinkDirection peerToOwn;  // the peer sends, this 8051 receives
  LinkVerdict verdict = LinkVerdict::Works;
  // The largest tolerance of this end's clock, in whole ppm, with which
  // both directions still work (with the peer's tolerance as it is); none
  // when even a perfect clock here does not.
  std::optional<std::uint32_t> maxOwnTolerancePpm;
};

// Checks both directions for the frame.
LinkCheck CheckLink(const LinkEnd& own, const LinkEnd& peer, const SerialFrame& frame);

// The verdict under its own name ("Works", "Marginal", "Fails").
std::string_view LinkVerdictName(LinkVerdict verdict) noexcept;

// The binding sense of a direction: the one to show.
const MismatchSense& BindingSense(const LinkDirection& direction) noexcept;

// Whether this 8051's sending is the direction to name when one must be
// named (a summary, the code's note): the direction with the worse verdict,
// or on a tie of verdicts the one using more of its limit, this 8051's
// sending on an exact tie.
bool OwnSendingIsWorse(const LinkCheck& check) noexcept;

// That direction.
const LinkDirection& WorseDirection(const LinkCheck& check) noexcept;

// This end as an 8051: its rate and tolerance, its UART's receiver.
LinkEnd Uart8051End(const Fraction& rate, const ClockTolerance& tolerance, const Fraction& edgeShift = {0, 1}) noexcept;

// The rate of the classic Timer 1 (mode 2, 12 clocks a cycle) for an exact
// crystal and TH1: 2^SMOD x f / (384 x (256 - TH1)), in lowest terms; no
// result when the fraction does not fit 64 bits.
std::optional<Fraction> ClassicTimer1Rate(const ExactFrequency& crystal, std::uint32_t reload,
                                          std::uint32_t smod) noexcept;

}  // namespace tesmirol
