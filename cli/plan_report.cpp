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

std::optional<nlohmann::ordered_json> PlannedUartJson(const UartPlan& plan, std::size_t index) {
  if (!text::GbkToUtf8(plan.uarts.at(index).request.baudText)) {
    return std::nullopt;
  }
  // The one writer of a planned UART, which the clock finder's plans share.
  answers::JsonWriter json(answers::JsonFace::CommandLine);
  answers::WritePlanEntry(json, plan, index);
  return nlohmann::ordered_json::parse(json.Text());
}

nlohmann::ordered_json PlanConflictJson(const PlanConflict& conflict, std::span<const UartRequest> requests,
                                        const std::string& message) {
  nlohmann::ordered_json uarts = nlohmann::ordered_json::array();
  nlohmann::ordered_json bauds = nlohmann::ordered_json::array();
  for (const std::size_t index : conflict.requests) {
    uarts.push_back(requests[index].uart);
    bauds.push_back(requests[index].baud);
  }
  nlohmann::ordered_json object;
  object["kind"] = PlanConflictKindName(conflict.kind);
  object["uarts"] = std::move(uarts);
  object["bauds"] = std::move(bauds);
  object["timer"] = conflict.timer.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(conflict.timer);
  object["message"] = message;
  return object;
}

std::optional<nlohmann::ordered_json> MakePlanJson(const PlanQuestion& question, const PlanResult& result,
                                                   const std::string& conflictMessage, const GeneratedInitCode& code) {
  auto crystalText = text::GbkToUtf8(question.crystal->crystalText);
  auto output = text::GbkToUtf8(code.text);
  if (!crystalText || !output) {
    return std::nullopt;
  }
  nlohmann::ordered_json report;
  report["target"] = question.chipName;
  report["crystalText"] = std::move(*crystalText);
  report["crystalHz"] = {{"numerator", question.crystal->frequency.numerator},
                         {"denominator", question.crystal->frequency.denominator}};
  report["tolerance"] = question.tolerancePercent;
  nlohmann::ordered_json requests = nlohmann::ordered_json::array();
  for (const UartRequest& request : question.requests) {
    auto baudText = text::GbkToUtf8(request.baudText);
    if (!baudText) {
      return std::nullopt;
    }
    requests.push_back({{"uart", request.uart}, {"baud", request.baud}, {"baudText", std::move(*baudText)}});
  }
  report["uarts"] = std::move(requests);
  if (result.plan) {
    nlohmann::ordered_json plan = nlohmann::ordered_json::array();
    for (std::size_t index = 0; index < result.plan->uarts.size(); ++index) {
      auto entry = PlannedUartJson(*result.plan, index);
      if (!entry) {
        return std::nullopt;
      }
      plan.push_back(std::move(*entry));
    }
    report["plan"] = std::move(plan);
  } else {
    report["plan"] = nullptr;
  }
  report["conflict"] = result.conflict ? PlanConflictJson(*result.conflict, question.requests, conflictMessage)
                                       : nlohmann::ordered_json();
  report["outcome"] = GenerationOutcomeName(code.outcome);
  report["output"] = std::move(*output);
  return report;
}

}  // namespace tesmirol::cli
