#pragma once
// --list-targets: the target catalogue, as text and as JSON.

#include <string>

#include <nlohmann/json.hpp>

#include "engine/language.h"

namespace tesmirol::cli {

// Each target with its UART, timer, init function, clock choices, families,
// chips, formula and registers; then each chip family with the targets
// --target FAMILY tries, and its generators UART by UART. UTF-8, its words
// in the language.
std::string TargetListText(Language language);

// {"targets": [...], "families": {"stc15": ["stc-t2-1t", ...], ...},
// "familyUarts": {"stc15": {"UART1": [...], "UART2": [...]}, ...}}.
nlohmann::ordered_json TargetListJson();

// --list-targets --parts FAMILY: the family's part numbers, record by
// record with the vendor table each comes from, and whether --target takes
// them (the family has generators). UTF-8, its words in the language.
std::string PartListText(const std::string& family, Language language);

// {"family": "stc8", "supported": true, "records": [{"source": ...,
// "names": "STC8H1K{08,...}", "parts": ["STC8H1K08", ...]}, ...]}.
nlohmann::ordered_json PartListJson(const std::string& family);

}  // namespace tesmirol::cli
