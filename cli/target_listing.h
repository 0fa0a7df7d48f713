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

}  // namespace tesmirol::cli
