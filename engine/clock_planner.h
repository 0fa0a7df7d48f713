#pragma once
// The clock finder: for chips whose clock the user sets rather than buys
// (STC's programmable RC oscillator, the CH552's PLL steps), the clock
// frequencies in whole hertz that give every wanted rate exactly, or else
// within a tolerance.
//
// Every generator gives rate = 2^SMOD x f / (D x n), n = 1 .. 2^b, so the
// clocks that give rate r exactly on one clock choice and SMOD setting are
// f = r x D x n / 2^SMOD for whole n. The search takes the rate with the
// fewest such clocks in the range and checks each of them exactly against
// the other rates. Beside the exact clocks it finds the near-exact ones
// where the worst error is locally least: each rate's exact clocks and the
// clocks where the rising error of one rate meets the falling error of
// another (the harmonic mean of their exact clocks), each checked exactly and
// kept when neither neighbouring hertz has a smaller worst error.
//
// Two questions: one UART switched between the rates at run time (every
// rate may take any clock choice, SMOD setting and generator of the
// targets), or several UARTs that run at once, each at its rate, planned
// at each clock with PlanUarts.
//
// The list is ranked by the worst relative error (exact fractions), then by
// the distance in hertz to the nearest common frequency: a crystal of the
// caller's list (the presets), a multiple of 1.8432 MHz (the UART crystal
// family: 3.6864, 7.3728, 11.0592, 14.7456, 18.432, 22.1184 MHz ...) or a
// whole number of megahertz; then by the frequency, lowest first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/baud_target.h"
#include "engine/relative_error.h"
#include "engine/uart_planner.h"

namespace tesmirol {

// The highest clock the finder takes: ReadExactCrystal's limit.
inline constexpr std::uint64_t kMaxClockHz = (std::uint64_t{1} << 40U) - 1;

// The most candidate clocks a search may try before it is refused as too
// wide: each exact clock of each rate on each clock choice and SMOD setting
// in the range, and the four clocks around it where it meets every mode of
// every other rate.
inline constexpr std::uint64_t kMaxClockCandidates = 4000000;

// Where the clock may lie: every whole hertz from low to high, or, when
// steps is not empty, only those of the steps that lie from low to high.
struct ClockSpan {
  std::uint64_t low = 1;
  std::uint64_t high = kMaxClockHz;
  std::vector<std::uint64_t> steps;
};

struct ClockFinderOptions {
  double tolerancePercent = 1.0;  // every rate's |deviation| at most this
  std::size_t limit = 20;         // the most clocks listed (0 counts as 1)
  // Common crystal frequencies in hertz (the crystal presets) for the
  // ranking; multiples of 1.8432 MHz and whole megahertz count always.
  std::vector<std::uint64_t> commonClocks;
};

// What a clock's nearest common frequency is.
enum class CommonClockKind {
  Listed,          // a crystal of ClockFinderOptions::commonClocks
  UartCrystal,     // a multiple of 1.8432 MHz
  WholeMegahertz,  // a whole number of megahertz
};

// One rate at a clock, on one UART switched between rates: the target and
// setting the exact solver gives it there.
struct ClockRateSetting {
  std::int32_t baud = 0;
  const BaudTarget* target = nullptr;
  TargetSetting setting;
  RelativeError error;
};

// One clock of the answer.
struct ClockCandidate {
  std::uint64_t hertz = 0;
  bool exact = false;           // every rate exactly
  RelativeError worst;          // the largest relative error over the rates
  std::size_t worstIndex = 0;   // the rate (or UART request) with that error
  double worstDeviation = 0.0;  // its deviation in percent, signed
  CommonClockKind commonKind = CommonClockKind::WholeMegahertz;
  std::uint64_t commonHertz = 0;        // the nearest common frequency
  std::uint64_t commonDistance = 0;     // |hertz - commonHertz|
  std::vector<ClockRateSetting> rates;  // one UART: per rate, in the order asked
  std::optional<UartPlan> plan;         // several UARTs: the plan at this clock
};

enum class ClockFinderStatus {
  Found,           // clocks listed
  EmptyRange,      // low above high, low 0, high beyond kMaxClockHz, or no step in the range
  NoRates,         // no rate asked for
  SearchTooWide,   // no clock exact, and too many candidates to look for near-exact ones
  RateOutOfReach,  // one rate is beyond the tolerance at every clock of the range
  NoCommonClock,   // each rate alone is reachable, but no clock serves them all
};

struct ClockFinderResult {
  ClockFinderStatus status = ClockFinderStatus::Found;
  std::vector<ClockCandidate> clocks;    // best first, at most limit
  std::size_t exactCount = 0;            // exact clocks in the range (all of them, not only those listed)
  std::optional<std::size_t> rateIndex;  // RateOutOfReach: the rate (or request) concerned
  std::uint64_t candidateCount = 0;      // the candidate clocks the near-exact search tries (its width)
  bool nearSkipped = false;              // too wide to look for near-exact clocks: the exact ones only
};

// One UART switched between the rates: the clocks at which every rate, on
// any clock choice, SMOD setting and target of `targets`, comes within the
// tolerance.
ClockFinderResult FindClocksForRates(std::span<const BaudTarget* const> targets, std::span<const std::int32_t> rates,
                                     const ClockSpan& span, const ClockFinderOptions& options);

// Several UARTs at once: the clocks at which PlanUarts finds a plan for the
// requests on the chip whose targets are given.
ClockFinderResult FindClocksForPlan(std::span<const BaudTarget* const> chipTargets,
                                    std::span<const UartRequest> requests, const ClockSpan& span,
                                    const ClockFinderOptions& options);

// The clock steps every one of the targets shares (the chip's), or nothing
// when one of them has none or they differ.
std::optional<std::vector<std::uint64_t>> SharedClockSteps(std::span<const BaudTarget* const> targets);

// The nearest common frequency to hertz, by the ranking's rule.
struct CommonClock {
  CommonClockKind kind = CommonClockKind::WholeMegahertz;
  std::uint64_t hertz = 0;
  std::uint64_t distance = 0;
};
CommonClock NearestCommonClock(std::uint64_t hertz, std::span<const std::uint64_t> listed);

// The names of a status and a kind ("Found", "UartCrystal" ...).
std::string_view ClockFinderStatusName(ClockFinderStatus status) noexcept;
std::string_view CommonClockKindName(CommonClockKind kind) noexcept;

}  // namespace tesmirol
