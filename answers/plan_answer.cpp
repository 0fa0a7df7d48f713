#include "answers/plan_answer.h"

#include <algorithm>

#include "codegen/uart_plan_code.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {

PlanAnswer AnswerPlan(std::span<const BaudTarget* const> chipTargets, const TargetInputs& crystal,
                      std::span<const UartRequest> requests, double tolerancePercent, const TargetCodeStyle& style,
                      const std::function<const LinkAsk*(std::string_view uart)>& linkOfUart) {
  PlanAnswer answer;
  answer.result = PlanUarts(chipTargets, crystal, requests, tolerancePercent);
  if (!answer.result.plan) {
    return answer;
  }
  const UartPlan& plan = *answer.result.plan;
  std::vector<const LinkAsk*> asks(plan.uarts.size());
  std::transform(plan.uarts.begin(), plan.uarts.end(), asks.begin(),
                 [&linkOfUart](const PlannedUart& planned) { return linkOfUart(planned.request.uart); });
  answer.code =
      GeneratePlanCode(plan, crystal, style.uartMode, style.language, {}, style.frame, style.tolerancePercent);
  answer.requests = PlanCodeRequests(plan, crystal, style.uartMode, style.frame);
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    const LinkAsk* ask = asks[index];
    if (ask == nullptr) {
      answer.links.emplace_back();
      continue;
    }
    const PlannedUart& planned = plan.uarts[index];
    answer.links.emplace_back(
        CheckLinkAt(*ask, SettingOwnRate(&planned.setting), planned.request.baud, planned.request.uart));
    if (index < answer.requests.size()) {
      answer.requests[index].notes = LinkCodeNotes(ask->peer, *answer.links.back(), style.language);
    }
  }
  // Each UART's note goes into its own function.
  const bool asked = std::any_of(asks.begin(), asks.end(), [](const LinkAsk* ask) { return ask != nullptr; });
  if (asked && answer.code.outcome == GenerationOutcome::Code) {
    answer.code.text = GeneratePlanInitCode(answer.requests, style.language);
  }
  return answer;
}

PlanAnswer AnswerPlan(std::span<const BaudTarget* const> chipTargets, const TargetInputs& crystal,
                      std::span<const UartRequest> requests, double tolerancePercent, const TargetCodeStyle& style,
                      std::span<const UartLinkAsk> links) {
  return AnswerPlan(
      chipTargets, crystal, requests, tolerancePercent, style, [links](std::string_view uart) -> const LinkAsk* {
        const auto found =
            std::find_if(links.begin(), links.end(), [uart](const UartLinkAsk& link) { return link.uart == uart; });
        return found == links.end() ? nullptr : &found->ask;
      });
}

const PlannedUart* FirstUartBeyond(const UartPlan& plan, double tolerancePercent) {
  const auto beyond = std::find_if(
      plan.uarts.begin(), plan.uarts.end(),
      [tolerancePercent](const PlannedUart& planned) { return !IsWithinTolerance(planned.setting, tolerancePercent); });
  return beyond == plan.uarts.end() ? nullptr : &*beyond;
}

}  // namespace tesmirol::answers
