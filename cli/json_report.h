#pragma once
// The --json report: every field of one calculation and the generated output,
// for scripts.

#include <optional>

#include <nlohmann/json.hpp>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"

namespace tesmirol::cli {

// The calculation's fields under their own names, both SMOD settings with
// their status, tolerance verdict and two-decimal deviation text, and the
// generated outcome with the output box's text (CRLF kept). Texts are decoded
// from GBK to UTF-8; no result if one of them cannot be decoded.
std::optional<nlohmann::ordered_json> MakeJsonReport(const BaudCalculation& calculation,
                                                     const GeneratedInitCode& generated);

}  // namespace tesmirol::cli
