#include "cli/plan_texts.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "cli/build_check.h"
#include "engine/deviation_text.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"

namespace tesmirol::cli {
namespace {

std::string UartAtRate(const UartRequest& request) {
  return request.uart + " at " + std::to_string(request.baud) + " bps";
}

// "UART0 at 110 bps and UART1 at 9600 bps", "A, B and C".
std::string UartsAtRates(std::span<const UartRequest> requests, const std::vector<std::size_t>& indices) {
  std::string text;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) {
      text += i + 1 == indices.size() ? " and " : ", ";
    }
    text += UartAtRate(requests[indices[i]]);
  }
  return text;
}

std::string UartNamesOf(const UartPlan& plan, const std::vector<std::size_t>& indices) {
  std::string text;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) {
      text += i + 1 == indices.size() ? " and " : ", ";
    }
    text += plan.uarts[indices[i]].request.uart;
  }
  return text;
}

// Why one UART reaches its rate on none of its generators: the nearest
// setting, or the side of the range the rate lies on.
std::string OutOfReachText(const UartRequest& request, std::span<const BaudTarget* const> chipTargets,
                           const TargetInputs& atCrystal, double tolerancePercent) {
  TargetInputs inputs = atCrystal;
  inputs.baud = request.baud;
  inputs.baudText = request.baudText;
  const std::vector<const BaudTarget*> targets = TargetsOfUart(chipTargets, request.uart);
  std::string text = UartAtRate(request) + " is beyond " + PercentText(tolerancePercent) + " % on every generator";
  if (targets.empty()) {
    return text;
  }
  const FamilySolution family = SolveTargets(targets, inputs);
  if (!family.best) {
    const bool low = family.solutions.front().status == TargetStatus::TooLow;
    return text + " (the rate is " + (low ? "below" : "above") + " what its generators can make)";
  }
  const TargetSolution& best = family.solutions.at(*family.best);
  return text + " (nearest: " + best.target->name + " " + ClockChoiceText(*best.target, best.best.clockIndex) +
         " SMOD=" + std::to_string(best.best.smod) + ", " + FormatDeviation(best.best.deviation) + " %)";
}

}  // namespace

std::string PlanReasonText(const UartPlan& plan, std::size_t index) {
  const PlannedUart& planned = plan.uarts.at(index);
  const std::string timer = TimerText(planned.target->timer);
  const std::string sharing =
      planned.sharedWith.empty() ? "" : "shares " + timer + " with " + UartNamesOf(plan, planned.sharedWith);
  switch (planned.reason) {
    case PlanReason::OnlyGenerator:
      return planned.request.uart + " can only use " + timer +
             (sharing.empty() ? "" : "; it " + sharing + " at one setting");
    case PlanReason::SharedTimer:
      return sharing + " at one setting";
    case PlanReason::TimerTaken: {
      const std::string holder =
          planned.takenBy ? plan.uarts.at(*planned.takenBy).request.uart : std::string("another UART");
      return "its best alone, " + planned.bestAlone->name + ", would take " + TimerText(planned.bestAlone->timer) +
             ", which " + holder + " needs at another setting";
    }
    case PlanReason::BestAlone:
      break;
  }
  return "best of " + std::to_string(planned.generatorCount) + " generators";
}

std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, double tolerancePercent) {
  const std::string within = PercentText(tolerancePercent) + " %";
  switch (conflict.kind) {
    case PlanConflictKind::NoGenerator: {
      std::string uarts;
      for (const std::size_t index : conflict.requests) {
        uarts += uarts.empty() ? "" : ", ";
        uarts += requests[index].uart;
      }
      return std::string(chipName) + " has no generator for " + (uarts.empty() ? std::string("any UART") : uarts);
    }
    case PlanConflictKind::OutOfReach: {
      std::string text;
      for (const std::size_t index : conflict.requests) {
        text += text.empty() ? "" : "; ";
        text += OutOfReachText(requests[index], chipTargets, atCrystal, tolerancePercent);
      }
      return text;
    }
    case PlanConflictKind::SharedTimer:
      break;
  }
  if (conflict.requests.empty() || conflict.timer.empty()) {
    return "no assignment of generators keeps every UART within " + within +
           " without asking a timer for two "
           "settings";
  }
  return UartsAtRates(requests, conflict.requests) + " would have to share " + TimerText(conflict.timer) +
         ", and no one setting of it gives them all within " + within;
}

}  // namespace tesmirol::cli
