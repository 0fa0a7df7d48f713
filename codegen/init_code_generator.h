#pragma once
// The C source of SIO_Init for one calculation, filled in from the template.

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/baud_calculation.h"

namespace tesmirol {

enum class GenerationOutcome {
  Nothing,  // neither SMOD setting is in range: the output stays empty
  Warning,  // both settings deviate by more than 1 %
  Code,     // the filled template
};

struct GeneratedInitCode {
  GenerationOutcome outcome = GenerationOutcome::Nothing;
  std::string text;  // GBK; empty for Nothing
};

// The outcome under its own name ("Nothing", "Warning", "Code"), as reports
// and tables write it.
std::string_view GenerationOutcomeName(GenerationOutcome outcome) noexcept;

// What the generator does for one calculation: the outcome and, for Code,
// the SMOD setting whose reload the code loads into TH1.
struct InitCodeChoice {
  GenerationOutcome outcome = GenerationOutcome::Nothing;
  std::size_t smod = 0;  // index into BaudCalculation::mode; meaningful for Code only
};

// Decides between nothing, the warning and the code, and for code which SMOD
// setting it uses: SMOD = 0 whenever it is within tolerance, otherwise SMOD = 1.
InitCodeChoice ChooseInitCodeSetting(const BaudCalculation& calculation) noexcept;

// "生成的波特率存在偏差，不建议使用该方案！" in GBK.
extern const std::string_view kDeviationWarningText;

// The text of ChooseInitCodeSetting's outcome; for code, reads the template
// afresh and fills <BPS>, <CYSTRAL>, <TH1>, <TL1> and <PCON>, in that
// order, preferring SMOD = 0 whenever it is within tolerance.
GeneratedInitCode GenerateInitCode(const BaudCalculation& calculation);

}  // namespace tesmirol
