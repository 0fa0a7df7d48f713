#include "cli/target_report.h"

#include <algorithm>
#include <cstddef>

#include "answers/plan_entry_json.h"
#include "answers/target_answer.h"
#include "cli/plan_texts.h"
#include "codegen/target_init_code.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// "选用晶震：11059200 Hz" with the exact fraction where it is not whole.
std::string CrystalLine(const ExactFrequency& frequency, Language language) {
  return std::string(Text(language, TextKey::ReportSelectedCrystal)) +
         FractionText(frequency.numerator, frequency.denominator) + " Hz\n";
}

// "T2H,T2L = 0xFFE8  实际：115200bps  偏差：0.00%": one setting on one line.
std::string SettingText(const BaudTarget& target, const TargetSetting& setting, Language language) {
  return ReloadRegisterLabel(target) + " = " + TargetReloadText(target, setting.reload) + "  " +
         AchievedRateText(setting, language);
}

// "1T  SMOD=0  ": the clock choice and SMOD setting a line is about.
std::string ModeHead(const BaudTarget& target, std::uint32_t clockIndex, std::uint32_t smod) {
  return ClockChoiceText(target, clockIndex) + "  SMOD=" + std::to_string(smod) + "  ";
}

// "target: stc-t2-1t  (the chips)": which target a report is about.
std::string TargetLine(const BaudTarget& target, Language language) {
  const auto chips = TargetText(language, target.name, TargetTextField::Chips);
  return std::string(Text(language, TextKey::TargetReportTarget)) + target.name + "  (" +
         std::string(chips.value_or(target.chips)) + ")\n";
}

bool IsSameSetting(const TargetSetting& a, const TargetSetting& b) noexcept {
  return a.clockIndex == b.clockIndex && a.smod == b.smod && a.reload == b.reload;
}

// Every clock choice and SMOD setting of one target: its neighbours, or its
// range verdict.
std::string ModeLines(const TargetSolution& solution, Language language) {
  std::string lines;
  for (std::size_t index = 0; index < solution.modeCount; ++index) {
    const TargetModeResult& mode = solution.modes.at(index);
    const std::string head = ModeHead(*solution.target, mode.clockIndex, mode.smod);
    if (mode.status != TargetStatus::Ok) {
      lines += head;
      lines += Text(language, mode.status == TargetStatus::TooLow ? TextKey::ReportTooLow : TextKey::ReportTooHigh);
      lines += '\n';
      continue;
    }
    for (std::size_t i = 0; i < mode.triedCount; ++i) {
      const TargetSetting& setting = mode.tried.at(i);
      lines += head + SettingText(*solution.target, setting, language);
      const bool won = solution.status == TargetStatus::Ok && IsSameSetting(setting, solution.best);
      lines += won ? std::string(Text(language, TextKey::TargetReportBestMark)) + "\n" : "\n";
    }
  }
  return lines;
}

// The full report of one target.
std::string SolutionText(const TargetSolution& solution, const TargetInputs& inputs, Language language) {
  const BaudTarget& target = *solution.target;
  std::string text = TargetLine(target, language);
  text += Text(language, TextKey::TargetReportFormula);
  text += target.formula + "\n";
  text += CrystalLine(inputs.frequency, language);
  text += Text(language, TextKey::ReportMinimum);
  text += DecimalText(solution.minRate) + "bps  ";
  text += Text(language, TextKey::ReportMaximum);
  text += DecimalText(solution.maxRate) + "bps\n";
  text += ModeLines(solution, language);
  if (solution.status == TargetStatus::Ok) {
    text += std::string(Text(language, TextKey::TargetReportBest)) +
            ModeHead(target, solution.best.clockIndex, solution.best.smod) + RegisterBytesText(target, solution.best) +
            "\n";
  }
  return text;
}

// One line per target of a family, the best marked.
std::string FamilyLines(const FamilySolution& family, Language language) {
  std::size_t width = 0;
  for (const TargetSolution& solution : family.solutions) {
    width = std::max(width, solution.target->name.size());
  }
  std::string lines;
  for (std::size_t i = 0; i < family.solutions.size(); ++i) {
    const TargetSolution& solution = family.solutions[i];
    lines += solution.target->name;
    lines.append(width - solution.target->name.size() + 2, ' ');
    if (solution.status == TargetStatus::Ok) {
      lines += ModeHead(*solution.target, solution.best.clockIndex, solution.best.smod) +
               SettingText(*solution.target, solution.best, language);
    } else {
      lines += Text(language, solution.status == TargetStatus::TooLow ? TextKey::ReportTooLow : TextKey::ReportTooHigh);
    }
    lines += family.best == i ? std::string(Text(language, TextKey::TargetReportBestMark)) + "\n" : "\n";
  }
  return lines + "\n";
}

}  // namespace

std::string AchievedRateText(const TargetSetting& setting, Language language) {
  std::string text = std::string(Text(language, TextKey::ReportAchieved)) + DecimalText(setting.achieved) + "bps";
  if (setting.achievedDenominator != 1) {
    text += " (" + FractionText(setting.achievedNumerator, setting.achievedDenominator) + ")";
  }
  text += "  ";
  text += Text(language, TextKey::ReportDeviation);
  text += FormatDeviation(setting.deviation) + "%";
  if (!IsWithinTolerance(setting)) {
    text += Text(language, TextKey::ReportOutOfTolerance);
  }
  return text;
}

std::string FormatTargetReport(const FamilySolution& family, const TargetInputs& inputs, const TargetCode& code,
                               Language language) {
  std::string report;
  if (family.solutions.size() > 1) {
    report += FamilyLines(family, language);
  }
  const TargetSolution* best = family.Chosen();
  report += SolutionText(best != nullptr ? *best : family.solutions.front(), inputs, language);
  if (code.outcome != GenerationOutcome::Nothing) {
    report += '\n';
    report += code.text;
    if (code.outcome == GenerationOutcome::Warning) {
      report += '\n';
    }
  }
  return report;
}

std::string FormatTargetReloadReport(const BaudTarget& target, const ExactFrequency& frequency,
                                     const std::vector<TargetSetting>& settings, bool compared, Language language) {
  std::string report = TargetLine(target, language);
  report += CrystalLine(frequency, language);
  report += ReloadRegisterLabel(target) + " = " + TargetReloadText(target, settings.front().reload) + " (" +
            ReloadBytesText(target, settings.front().reload) + ")\n";
  for (const TargetSetting& setting : settings) {
    report += ModeHead(target, setting.clockIndex, setting.smod);
    if (compared) {
      report += AchievedRateText(setting, language) + '\n';
      continue;
    }
    report += Text(language, TextKey::ReportAchieved);
    report += DecimalText(setting.achieved) + "bps";
    if (setting.achievedDenominator != 1) {
      report += " (" + FractionText(setting.achievedNumerator, setting.achievedDenominator) + ")";
    }
    report += '\n';
  }
  return report;
}

}  // namespace tesmirol::cli
