#include "answers/plan_conflict_text.h"

#include <algorithm>
#include <vector>

#include "answers/plan_reason_text.h"
#include "engine/deviation_text.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
#include "engine/texts.h"

namespace tesmirol::answers {
namespace {

// "UART1 at 9600 bps".
std::string UartAtRate(const UartRequest& request, Language language) {
  return FormatText(language, TextKey::PlanUartAtRate,
                    {{"uart", request.uart}, {"rate", std::to_string(request.baud)}});
}

// "UART0 at 110 bps and UART1 at 9600 bps".
std::string UartsAtRates(std::span<const UartRequest> requests, const std::vector<std::size_t>& indices,
                         Language language) {
  std::vector<std::string> items(indices.size());
  std::transform(indices.begin(), indices.end(), items.begin(),
                 [&](std::size_t index) { return UartAtRate(requests[index], language); });
  return ListText(items, language);
}

// Why one UART reaches its rate on none of its generators: the nearest
// setting, or the side of the range the rate lies on.
std::string OutOfReachText(const UartRequest& request, std::span<const BaudTarget* const> chipTargets,
                           const TargetInputs& atCrystal, std::string_view toleranceText, Language language) {
  TargetInputs inputs = atCrystal;
  inputs.baud = request.baud;
  inputs.baudText = request.baudText;
  const std::vector<const BaudTarget*> targets = TargetsOfUart(chipTargets, request.uart);
  std::string text = FormatText(language, TextKey::PlanOutOfReach,
                                {{"uart", UartAtRate(request, language)}, {"tolerance", std::string(toleranceText)}});
  if (targets.empty()) {
    return text;
  }
  const FamilySolution family = SolveTargets(targets, inputs);
  if (!family.best) {
    const bool low = family.solutions.front().status == TargetStatus::TooLow;
    return text + std::string(Text(language, low ? TextKey::PlanOutOfReachBelow : TextKey::PlanOutOfReachAbove));
  }
  const TargetSolution& best = family.solutions.at(*family.best);
  return text + FormatText(language, TextKey::PlanOutOfReachNearest,
                           {{"target", best.target->name},
                            {"clock", ClockChoiceText(*best.target, best.best.clockIndex)},
                            {"smod", std::to_string(best.best.smod)},
                            {"deviation", FormatDeviation(best.best.deviation)}});
}

}  // namespace

std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, std::string_view toleranceText, Language language) {
  const std::string tolerance(toleranceText);
  switch (conflict.kind) {
    case PlanConflictKind::NoGenerator: {
      std::string uarts;
      for (const std::size_t index : conflict.requests) {
        uarts += uarts.empty() ? "" : Text(language, TextKey::PlanListSeparator);
        uarts += requests[index].uart;
      }
      return FormatText(language, TextKey::PlanConflictNoGenerator,
                        {{"chip", std::string(chipName)},
                         {"uarts", uarts.empty() ? std::string(Text(language, TextKey::PlanAnyUart)) : uarts}});
    }
    case PlanConflictKind::OutOfReach: {
      std::string text;
      for (const std::size_t index : conflict.requests) {
        text += text.empty() ? "" : Text(language, TextKey::PlanConflictSeparator);
        text += OutOfReachText(requests[index], chipTargets, atCrystal, toleranceText, language);
      }
      return text;
    }
    case PlanConflictKind::SharedTimer:
      break;
  }
  if (conflict.requests.empty() || conflict.timer.empty()) {
    return FormatText(language, TextKey::PlanConflictNoAssignment, {{"tolerance", tolerance}});
  }
  return FormatText(language, TextKey::PlanConflictSharedTimer,
                    {{"uarts", UartsAtRates(requests, conflict.requests, language)},
                     {"timer", TimerText(conflict.timer, language)},
                     {"tolerance", tolerance}});
}

}  // namespace tesmirol::answers
