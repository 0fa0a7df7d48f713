#pragma once
// The --reload report: the rates one reload value gives a crystal.

#include <string>

#include <nlohmann/json.hpp>

#include "engine/baud_calculation.h"

namespace tesmirol::cli {

// In GBK, in the plain report's manner: the selected crystal, the reload,
// then one line per SMOD setting with the rate it gives.
std::string FormatReloadReport(const ReloadRates& rates);

// The same as one JSON object; no result when the crystal text cannot be
// decoded.
std::optional<nlohmann::ordered_json> MakeReloadJson(const ReloadRates& rates);

}  // namespace tesmirol::cli
