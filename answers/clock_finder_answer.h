#pragma once
// The clock finder (tesmirol-cli --find-clock, the page's clock view): the
// clocks that give every rate of one UART, or every UART of a plan, within
// a tolerance, searched over a range or over the chip's clock steps.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "answers/finder_texts.h"
#include "engine/clock_planner.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// What the finder is asked.
struct ClockAsk {
  std::string targetName;             // a target or a chip family, as the catalogue names it
  std::optional<std::string> uart;    // one UART of the chip (its catalogue name), for rates
  std::vector<std::int32_t> rates;    // one UART switched between rates; empty for a plan
  std::vector<UartRequest> requests;  // a plan's UARTs, each at its rate; empty for one UART
  std::optional<ClockBounds> range;   // none: the chip's clock steps
  double tolerancePercent = 1.0;
  std::size_t limit = kDefaultClockLimit;
};

struct ClockAnswer {
  ClockSpan span;           // where the finder looked: the range, or the chip's steps
  bool needsRange = false;  // no range given and the chip's clock has no steps: nothing searched
  ClockFinderResult result;
};

// Whether the finder searches the name's generators: not the CC253x
// USART's mantissa/exponent generator, which is solved from a given clock
// only.
bool ClockFinderCovers(const std::string& name);

// The targets the finder searches for rates: the UART's generators on the
// chip, or the target's (the family's first UART's) without a UART.
std::vector<const BaudTarget*> ClockRateTargets(const ClockAsk& ask);

// Searches for the ask, the crystal presets ranking as common clocks.
ClockAnswer AnswerClocks(const ClockAsk& ask);

}  // namespace tesmirol::answers
