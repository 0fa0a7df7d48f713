#pragma once
// The plain report: what the dialog shows for one calculation, as lines of
// text.

#include <string>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::cli {

// The report in GBK, its labels in the language: the selected crystal, the crystal's range, one line per
// SMOD setting (reload or too low/too high, achieved rate, deviation, marked
// where the dialog shows it in red), then the generated output as the output
// box would hold it (code with its CRLF line ends, the warning, or nothing).
std::string FormatTextReport(const BaudCalculation& calculation, const GeneratedInitCode& generated, Language language);

}  // namespace tesmirol::cli
