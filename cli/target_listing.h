#pragma once
// --list-targets: the target catalogue as text (answers/listing_json.h
// writes it as JSON).

#include <string>

#include "engine/language.h"

namespace tesmirol::cli {

// Each target with its UART, timer, init function, clock choices, families,
// chips, formula and registers; then each chip family with the targets
// --target FAMILY tries, and its generators UART by UART. UTF-8, its words
// in the language.
std::string TargetListText(Language language);

// --list-targets --parts FAMILY: the family's part numbers, record by
// record with the vendor table each comes from, and whether --target takes
// them (the family has generators). UTF-8, its words in the language.
std::string PartListText(const std::string& family, Language language);

}  // namespace tesmirol::cli
