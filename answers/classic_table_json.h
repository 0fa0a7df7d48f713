#pragma once
// The lookup table over crystals and rates (--table CRYSTAL BAUD) as JSON:
// one object a crystal and rate, the same members on both faces.

#include <optional>
#include <string_view>

#include "answers/json_writer.h"
#include "engine/baud_calculation.h"

namespace tesmirol::answers {

// One crystal and rate (their texts as UTF-8): {"crystal", "baud",
// "crystalHz", "modes": [{"smod", "reload", "reloadText", "status",
// "achieved", "deviation", "deviationText", "outOfTolerance"}], "outcome",
// "chosenSmod" (the SMOD setting of the code, null without code)}; the last
// four null when the pair gives no result.
void WriteClassicTableRow(JsonWriter& json, std::string_view crystalUtf8, std::string_view baudUtf8,
                          const std::optional<BaudCalculation>& calculation);

}  // namespace tesmirol::answers
