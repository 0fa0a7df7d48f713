#pragma once
// The --reload report: the rates one reload value gives a crystal.

#include <span>
#include <string>

#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::cli {

// In GBK, its labels in the language, in the plain report's manner: the selected crystal, the reload,
// then one line per SMOD setting with the rate it gives and, with a rate compared (compared[smod]), its
// deviation.
std::string FormatReloadReport(const ReloadRates& rates, std::span<const ModeResult> compared, Language language);

}  // namespace tesmirol::cli
