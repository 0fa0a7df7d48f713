#include "answers/plan_reason_text.h"

#include <algorithm>

#include "engine/target_texts.h"
#include "engine/texts.h"

namespace tesmirol::answers {
namespace {

std::string UartNamesOf(const UartPlan& plan, const std::vector<std::size_t>& indices, Language language) {
  std::vector<std::string> items(indices.size());
  std::transform(indices.begin(), indices.end(), items.begin(),
                 [&plan](std::size_t index) { return plan.uarts[index].request.uart; });
  return ListText(items, language);
}

}  // namespace

std::string ListText(const std::vector<std::string>& items, Language language) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      text += Text(language, i + 1 == items.size() ? TextKey::PlanListLast : TextKey::PlanListSeparator);
    }
    text += items[i];
  }
  return text;
}

std::string PlanReasonText(const UartPlan& plan, std::size_t index, Language language) {
  const PlannedUart& planned = plan.uarts.at(index);
  const std::string timer = TimerText(planned.target->timer, language);
  const std::string sharedWith = UartNamesOf(plan, planned.sharedWith, language);
  switch (planned.reason) {
    case PlanReason::OnlyGenerator:
      return FormatText(
          language,
          planned.sharedWith.empty() ? TextKey::PlanReasonOnlyGenerator : TextKey::PlanReasonOnlyGeneratorShared,
          {{"uart", planned.request.uart}, {"timer", timer}, {"uarts", sharedWith}});
    case PlanReason::SharedTimer:
      return FormatText(language, TextKey::PlanReasonSharedTimer, {{"timer", timer}, {"uarts", sharedWith}});
    case PlanReason::TimerTaken: {
      const std::string holder = planned.takenBy ? plan.uarts.at(*planned.takenBy).request.uart
                                                 : std::string(Text(language, TextKey::PlanAnotherUart));
      return FormatText(language, TextKey::PlanReasonTimerTaken,
                        {{"target", planned.bestAlone->name},
                         {"timer", TimerText(planned.bestAlone->timer, language)},
                         {"holder", holder}});
    }
    case PlanReason::BestAlone:
      break;
  }
  return FormatText(language, TextKey::PlanReasonBestAlone, {{"count", std::to_string(planned.generatorCount)}});
}

}  // namespace tesmirol::answers
