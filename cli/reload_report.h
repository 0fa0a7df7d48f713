#pragma once
// The --reload report: the rates one reload value gives a crystal.

#include <string>

#include <nlohmann/json.hpp>

#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::cli {

// In GBK, its labels in the language, in the plain report's manner: the selected crystal, the reload,
// then one line per SMOD setting with the rate it gives.
std::string FormatReloadReport(const ReloadRates& rates, Language language);

// The same as one JSON object; no result when the crystal text cannot be
// decoded.
std::optional<nlohmann::ordered_json> MakeReloadJson(const ReloadRates& rates);

}  // namespace tesmirol::cli
