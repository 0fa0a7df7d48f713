#include "cli/build_check.h"

#include <array>
#include <charconv>

#include "cli/utf8_text.h"
#include "engine/deviation_text.h"

namespace tesmirol::cli {

std::string PercentText(double percent) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), percent, std::chars_format::fixed);
  return {buffer.data(), result.ptr};
}

namespace {

// "SMOD=1 -7.00 %": one setting's deviation as the dialog shows it.
std::string DeviationText(const BaudCalculation& calculation, std::size_t smod) {
  return "SMOD=" + std::to_string(smod) + " " + FormatDeviation(calculation.mode.at(smod).deviation) + " %";
}

}  // namespace

std::string NoCodeReason(const BaudCalculation& calculation, const InitCodeChoice& choice, Language language) {
  switch (choice.outcome) {
    case GenerationOutcome::Nothing:
      return Utf8Text(language, TextKey::CheckNoCodeRange,
                      {{"min", std::to_string(calculation.minBps)}, {"max", std::to_string(calculation.maxBps)}});
    case GenerationOutcome::Warning:
      return Utf8Text(language, TextKey::CheckNoCodeBoth,
                      {{"smod0", DeviationText(calculation, 0)}, {"smod1", DeviationText(calculation, 1)}});
    case GenerationOutcome::Code:
      break;
  }
  return {};
}

std::optional<std::string> CheckMaxError(const BaudCalculation& calculation, double maxErrorPercent,
                                         Language language) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  if (choice.outcome != GenerationOutcome::Code) {
    return NoCodeReason(calculation, choice, language);
  }
  if (calculation.mode.at(choice.smod).deviationAbs > maxErrorPercent) {
    return Utf8Text(language, TextKey::CheckSettingBeyondLimit,
                    {{"setting", DeviationText(calculation, choice.smod)}, {"limit", PercentText(maxErrorPercent)}});
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
