#pragma once
// The answers about targets as JSON, the same members on both faces: a
// solved target, the crystal as the exact solver read it, and the report of
// a target or family (tesmirol-cli --target --json, the page's target view).

#include <string_view>

#include "answers/json_writer.h"
#include "codegen/target_init_code.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// One target solved: target, status, minRate, maxRate, modes (each clock
// choice and SMOD setting: clockIndex, clocksPerCycle, smod, status, tried
// settings, bestTried) and best (the setting, or null). The page's face adds
// uart, timer, function, minRateText, maxRateText and each mode's clockText.
void WriteSolution(JsonWriter& json, const TargetSolution& solution);

// The crystal's members: crystalText (upper-cased as read) and crystalHz
// ({numerator, denominator}); the page's face adds crystalHzText.
void WriteCrystalMembers(JsonWriter& json, const TargetInputs& inputs);

// The report of a target or family named targetName, inside an object the
// caller opens and closes: target, crystalText, baudText, baud, crystalHz,
// solutions, bestTarget (or null), outcome and output. The page's face adds
// shown (the solution the view shows) and function. False, with nothing
// written, when a text cannot be written as UTF-8.
[[nodiscard]] bool WriteTargetMembers(JsonWriter& json, std::string_view targetName, const FamilySolution& family,
                                      const TargetInputs& inputs, const GeneratedInitCode& code);

}  // namespace tesmirol::answers
