#pragma once
// The report of the clock finder (--find-clock): as text (GBK, in the
// target report's manner) and as JSON.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

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

// A clock in the words of a crystal text: "11.0592MHz", "187.5KHz", "900Hz".
std::string ClockText(std::uint64_t hertz);

// The text report: a head line (the question and how many clocks are
// exact), then per clock its frequency, exact or its worst deviation, its
// nearest common frequency, and each rate's (or UART's) generator, clock
// choice, SMOD, reload and deviation. GBK.
std::string FormatClockReport(const ClockQuestion& question, const ClockFinderResult& result);

// Why nothing was found (or, for SearchTooWide, why the range is refused),
// on one line. GBK.
std::string ClockNoResultText(const ClockQuestion& question, const ClockFinderResult& result);

// One JSON object: the question, the status (the engine's name, with the
// rate concerned) and the clocks. No result when a text cannot be written as
// UTF-8.
std::optional<nlohmann::ordered_json> MakeClockJson(const ClockQuestion& question, const ClockFinderResult& result);

}  // namespace tesmirol::cli
