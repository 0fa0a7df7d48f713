#pragma once
// The build check of --max-error and the reasons for having no code.

#include <optional>
#include <string>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::cli {

// A --max-error limit as the user would write it: shortest digits, no
// exponent ("0.5", "1").
std::string PercentText(double percent);

// Why the generator gives no code for this calculation (a warning or
// nothing), in words; for a calculation with code, an empty text.
std::string NoCodeReason(const BaudCalculation& calculation, const InitCodeChoice& choice, Language language);

// Holds the setting the generated code uses to the largest deviation allowed,
// in percent, with the same comparison the dialog uses for its 1 %: the
// deviation rounded to float32, taken as a magnitude, must not be greater.
// Returns why the check fails (no code, or a deviation beyond the limit), or
// nothing when it passes.
std::optional<std::string> CheckMaxError(const BaudCalculation& calculation, double maxErrorPercent, Language language);

}  // namespace tesmirol::cli
