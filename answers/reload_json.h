#pragma once
// The reload look-up as JSON, the same members on both faces: the classic
// report (tesmirol-cli --reload --json), a target's (tesmirol-cli --target
// NAME --reload --json), and the page's whole answer holding either.

#include "answers/json_writer.h"
#include "answers/reload_answer.h"

namespace tesmirol::answers {

// The classic report's members (answer.classic), inside an object the
// caller opens and closes: crystalText, frequency, crystalHz, reload,
// reloadText, divisor and modes ({smod, achieved} for SMOD = 0 and 1); with
// a rate, baud and each mode's deviation, deviationText and outOfTolerance;
// the page's face adds reloadLabel. False, with nothing written, when the
// crystal text cannot be written as UTF-8.
[[nodiscard]] bool WriteClassicReloadMembers(JsonWriter& json, const ReloadAnswer& answer);

// A target's report members (entry of answer.targets, with settings):
// target, crystalText, crystalHz ({numerator, denominator}), reload,
// reloadText and modes (per clock choice and SMOD setting: clockIndex,
// clocksPerCycle, smod, divisor, achievedNumerator, achievedDenominator,
// achieved); with a rate, baud and each mode's deviation, deviationText and
// outOfTolerance. The page's face adds crystalHzText, reloadLabel,
// reloadBytesText and each mode's clockText, achievedText and
// achievedDecimalText. False, with nothing written, as above.
[[nodiscard]] bool WriteTargetReloadMembers(JsonWriter& json, const ReloadAnswer& answer, const TargetReload& entry);

// The page's answer, inside an object the caller opens and closes: status
// "ok", "noResult" (the crystal gives none) or "tooWide" (the classic TH1
// holds 8 bits: reloadBits), and with "ok" the reports, one classic report
// or one per target, each with its status: "ok" and the members above, or
// "tooWide" with target and reloadBits.
void WriteReloadAnswer(JsonWriter& json, const ReloadAnswer& answer);

}  // namespace tesmirol::answers
