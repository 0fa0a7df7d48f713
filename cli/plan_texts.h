#pragma once
// The words of the reports about UART plans: why each UART got its timer,
// and why no plan exists. answers/ words them once for the command line and
// the page; the clock and timer names are the engine's
// (engine/target_texts.h).

#include <span>
#include <string>
#include <string_view>

#include "answers/plan_conflict_text.h"
#include "answers/plan_reason_text.h"
#include "cli/build_check.h"
#include "engine/language.h"
#include "engine/target_texts.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

using answers::PlanReasonText;

// PlanConflictText with the tolerance written as the user would write it.
inline std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                                    std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                                    const TargetInputs& atCrystal, double tolerancePercent, Language language) {
  return answers::PlanConflictText(conflict, requests, chipTargets, chipName, atCrystal, PercentText(tolerancePercent),
                                   language);
}

}  // namespace tesmirol::cli
