#pragma once
// The lists the command line prints (--list-targets, --list-targets
// --parts, --list-presets) and the page offers its choices from, one
// document each for both faces; and the labels the dialog's report puts
// before its numbers, which only the page reads.

#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "engine/part_catalogue.h"

namespace tesmirol::answers {

// {"targets": [{"name", "uart", "function", "timer", "families", "chips",
// "clock", "clocksPerCycle", "clockSelect", "clocks": [{"clock",
// "clocksPerCycle", "divider", "select"}], "generator", "divider",
// "reloadBits", "smodDoubles", "reloadRegisters", "registers", "formula",
// "source"}], "families": {FAMILY: [the targets --target FAMILY tries]},
// "familyUarts": {FAMILY: {UART: [its generators]}}}, all in catalogue
// order. The page's face adds "familyNames", the families in catalogue order
// (JavaScript's objects put "8051" before every other name).
void WriteTargetListing(JsonWriter& json);

// The part numbers a record names, written out, in sorted order.
std::vector<std::string> RecordPartNames(const PartRecord& record);

// {"family", "supported" (--target takes it: the family has generators),
// "records": [{"source", "names" (as written, with groups), "parts"}]}.
void WritePartListing(JsonWriter& json, std::string_view family);

// {"crystal": [...], "baud": [...]}: the preset lists the dialog offers.
void WritePresetListing(JsonWriter& json);

// The dialog's own labels (Chinese, as UTF-8): {"selectedCrystal",
// "minimum", "maximum", "tooLow", "tooHigh", "achieved", "deviation",
// "outOfTolerance"}.
void WriteReportLabels(JsonWriter& json);

}  // namespace tesmirol::answers
