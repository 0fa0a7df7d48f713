#pragma once
// The report of the clock finder (--find-clock) as text (GBK, in the
// target report's manner); its JSON is answers/clock_finder_json.h's.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "answers/clock_finder_json.h"
#include "engine/clock_planner.h"
#include "engine/language.h"

namespace tesmirol::cli {

// What the finder was asked: the target or chip as given, the rates of one
// UART (or the requests of a plan), where it looked and how close is close
// enough.
struct ClockQuestion {
  Language language = Language::Chinese;  // of the report's words
  std::string targetName;
  std::optional<std::string> uart;        // --uart NAME of one UART, as the catalogue names it
  std::span<const std::int32_t> rates;    // one UART switched between rates; empty for a plan
  std::span<const UartRequest> requests;  // a plan's UARTs; empty for one UART
  ClockSpan span;                         // the range, or the chip's steps
  double tolerancePercent = 1.0;
  std::size_t limit = 20;
};

using answers::ClockText;

// The text report: a head line (the question and how many clocks are
// exact), then per clock its frequency, exact or its worst deviation, its
// nearest common frequency, and each rate's (or UART's) generator, clock
// choice, SMOD, reload and deviation. GBK.
std::string FormatClockReport(const ClockQuestion& question, const ClockFinderResult& result);

// Why nothing was found (or, for SearchTooWide, why the range is refused),
// on one line. GBK.
std::string ClockNoResultText(const ClockQuestion& question, const ClockFinderResult& result);

}  // namespace tesmirol::cli
