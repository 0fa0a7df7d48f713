#include "cli/build_check.h"

#include <array>
#include <charconv>

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

std::string NoCodeReason(const BaudCalculation& calculation, const InitCodeChoice& choice) {
  switch (choice.outcome) {
    case GenerationOutcome::Nothing:
      return "no code: the rate is outside the crystal's range (" + std::to_string(calculation.minBps) + " to " +
             std::to_string(calculation.maxBps) + " bps) with either setting";
    case GenerationOutcome::Warning:
      return "no code: both settings deviate by more than 1 % (" + DeviationText(calculation, 0) + ", " +
             DeviationText(calculation, 1) + ")";
    case GenerationOutcome::Code:
      break;
  }
  return {};
}

std::optional<std::string> CheckMaxError(const BaudCalculation& calculation, double maxErrorPercent) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  if (choice.outcome != GenerationOutcome::Code) {
    return NoCodeReason(calculation, choice);
  }
  if (calculation.mode.at(choice.smod).deviationAbs > maxErrorPercent) {
    return "the generated code's setting " + DeviationText(calculation, choice.smod) + " deviates by more than " +
           PercentText(maxErrorPercent) + " %";
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
