#include "cli/plan_report.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "answers/json_writer.h"
#include "answers/plan_entry_json.h"
#include "cli/build_check.h"
#include "cli/plan_texts.h"
#include "cli/target_report.h"
#include "engine/deviation_text.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// "T2H = 0xFD, T2L = 0xC0  实际：9615.38bps (125000/13)  偏差：0.16%".
std::string PlannedSettingText(const BaudTarget& target, const TargetSetting& setting, Language language) {
  return RegisterBytesText(target, setting) + "  " + AchievedRateText(setting, language);
}

// The UARTs' names and rates padded to one width, so that the generators
// line up.
std::vector<std::string> UartHeads(const UartPlan& plan) {
  std::vector<std::string> heads;
  std::size_t width = 0;
  for (const PlannedUart& planned : plan.uarts) {
    heads.push_back(planned.request.uart + "  " + planned.request.baudText + "bps");
    width = std::max(width, heads.back().size());
  }
  for (std::string& head : heads) {
    head.append(width - head.size() + 2, ' ');
  }
  return heads;
}

}  // namespace

std::string FormatPlanReport(const PlanQuestion& question, const UartPlan& plan, const GeneratedInitCode& code,
                             Language language) {
  std::string report =
      FormatText(language, plan.uarts.size() == 1 ? TextKey::PlanReportHeadOne : TextKey::PlanReportHeadMany,
                 {{"chip", question.chipName},
                  {"count", std::to_string(plan.uarts.size())},
                  {"tolerance", PercentText(question.tolerancePercent)}});
  report += '\n';
  report += Text(language, TextKey::ReportSelectedCrystal);
  report += FractionText(question.crystal->frequency.numerator, question.crystal->frequency.denominator) + " Hz\n";
  const std::vector<std::string> heads = UartHeads(plan);
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    const PlannedUart& planned = plan.uarts[index];
    const BaudTarget& target = *planned.target;
    report += heads[index] + target.name + "  " + TimerText(target.timer, language) + "  " +
              ClockChoiceText(target, planned.setting.clockIndex) + "  SMOD=" + std::to_string(planned.setting.smod) +
              "  " + PlannedSettingText(target, planned.setting, language) + "\n";
    report += Text(language, TextKey::PlanReportWhy);
    report += PlanReasonText(plan, index, language) + "\n";
  }
  if (code.outcome != GenerationOutcome::Nothing) {
    report += '\n';
    report += code.text;
    if (code.outcome == GenerationOutcome::Warning) {
      report += '\n';
    }
  }
  return report;
}

}  // namespace tesmirol::cli
