#pragma once
// The pieces of the bridge's answers about targets that the single-UART
// answers and the plan share: a setting, a solved target, the crystal as the
// exact solver read it.

#include <string>
#include <string_view>

#include "engine/target_solver.h"
#include "web/bridge/json_writer.h"

namespace tesmirol::web {

// GBK text of the engine as UTF-8 for the page; the engine's texts are the
// user's own, converted from UTF-16, or the catalogue's ASCII, so they
// always convert back.
std::string Utf8(std::string_view gbk);

// One setting: its clock, SMOD and reload (as a number, as text, in its
// registers), the exact rate (numerator and denominator as decimal strings,
// the fraction's text, the double as its bits and the report's two-decimal
// text) and the deviation (bits and text) with its tolerance verdict.
void WriteSetting(JsonWriter& json, const BaudTarget& target, const TargetSetting& setting);

// One target solved: its name, UART, timer and status, the range (bits and
// texts), every clock choice and SMOD setting with the neighbours tried, and
// the best setting (or null).
void WriteSolution(JsonWriter& json, const TargetSolution& solution);

// The crystal's members of a target answer: crystalText (upper-cased as
// read), crystalNumerator, crystalDenominator and crystalHzText.
void WriteCrystalMembers(JsonWriter& json, const TargetInputs& inputs);

}  // namespace tesmirol::web
