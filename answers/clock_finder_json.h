#pragma once
// The clock finder's answer as JSON, the same members on both faces
// (tesmirol-cli --find-clock --json, the page's clock view).

#include <cstdint>
#include <string>

#include "answers/clock_finder_answer.h"
#include "answers/json_writer.h"

namespace tesmirol::answers {

// A clock in the words of a crystal text: "11.0592MHz", "187.5KHz", "900Hz".
std::string ClockText(std::uint64_t hertz);

// The report inside an object the caller opens and closes: target, uart
// (or null), rates or uarts (the other null), range (low, high, steps),
// tolerance, limit, status, rateIndex (or null), exactCount, nearSkipped
// and clocks, best first: hertz, text, exact, worstNumerator,
// worstDenominator, worstDeviation, worstDeviationText, worstIndex, common
// (kind, hertz, distance) and rates (one UART: baud, target, timer, clock,
// setting) or plan (as WritePlanEntry), the other null. The page's face adds
// common's text.
void WriteClockMembers(JsonWriter& json, const ClockAsk& ask, const ClockAnswer& answer);

}  // namespace tesmirol::answers
