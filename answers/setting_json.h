#pragma once
// One target setting as JSON, the same object on both faces: the command
// line's keys (clockIndex, clocksPerCycle, select, smod, reload, reloadText,
// registers, divisor, achievedNumerator, achievedDenominator, achieved,
// deviation, deviationText, outOfTolerance); the page's face adds the texts
// it shows (clockText, reloadLabel, registersText, achievedText,
// achievedDecimalText).

#include "answers/json_writer.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

void WriteSetting(JsonWriter& json, const BaudTarget& target, const TargetSetting& setting);

}  // namespace tesmirol::answers
