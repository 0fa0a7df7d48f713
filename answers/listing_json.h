#pragma once
// The lists the page offers its choices from, as JSON: the target
// catalogue and its chip families, the preset crystals and rates, and the
// labels the dialog's report puts before its numbers.

#include "answers/json_writer.h"

namespace tesmirol::answers {

// {"targets": [{"name", "chips", "families": [...], "uart", "timer",
// "function"}], "families": [{"name", "uarts": [...]}]}, both in catalogue
// order.
void WriteTargetChoices(JsonWriter& json);

// {"crystals": [...], "bauds": [...]}.
void WritePresets(JsonWriter& json);

// The dialog's own labels (Chinese, as UTF-8): {"selectedCrystal",
// "minimum", "maximum", "tooLow", "tooHigh", "achieved", "deviation",
// "outOfTolerance"}.
void WriteReportLabels(JsonWriter& json);

}  // namespace tesmirol::answers
