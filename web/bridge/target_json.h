#pragma once
// The pieces of the bridge's answers about targets that the single-UART
// answers and the plan share: a setting, a solved target, the crystal as the
// exact solver read it.

#include <string>
#include <string_view>

#include "engine/target_solver.h"
#include "answers/json_writer.h"
#include "answers/setting_json.h"

namespace tesmirol::web {

using answers::JsonWriter;

// GBK text of the engine as UTF-8 for the page; the engine's texts are the
// user's own, converted from UTF-16, or the catalogue's ASCII, so they
// always convert back.
std::string Utf8(std::string_view gbk);

using answers::WriteSetting;

// One target solved: its name, UART, timer and status, the range (bits and
// texts), every clock choice and SMOD setting with the neighbours tried, and
// the best setting (or null).
void WriteSolution(JsonWriter& json, const TargetSolution& solution);

// The crystal's members of a target answer: crystalText (upper-cased as
// read), crystalNumerator, crystalDenominator and crystalHzText.
void WriteCrystalMembers(JsonWriter& json, const TargetInputs& inputs);

}  // namespace tesmirol::web
