#pragma once
// The classic calculation (the dialog's) as JSON, the same members on both
// faces: crystalText, baudText, baud, frequency (the float32 widened
// exactly), crystalHz, minBps, maxBps, modes (each SMOD setting's smod,
// reload, divisor, achieved, deviation, deviationAbs, deviationText, status,
// outOfTolerance), outcome and output (the output box's text, CR LF kept).
// The page's face adds each mode's reloadText and the chosenSmod of the code.

#include <optional>
#include <string>

#include "answers/json_writer.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"

namespace tesmirol::answers {

// Each SMOD setting as an array.
void WriteClassicModes(JsonWriter& json, const BaudCalculation& calculation);

// The outcome of the code the calculation gives and, for the page, the SMOD
// setting it uses (null without code).
void WriteCodeChoice(JsonWriter& json, const BaudCalculation& calculation);

// The calculation's members, inside an object the caller opens and closes
// (a link may follow). No result, and nothing written, when a text cannot be
// written as UTF-8.
[[nodiscard]] bool WriteClassicMembers(JsonWriter& json, const BaudCalculation& calculation,
                                       const GeneratedInitCode& generated);

}  // namespace tesmirol::answers
