#pragma once
// The words of the reports about UART plans: why each UART got its timer,
// and why no plan exists. The clock and timer names are the engine's
// (engine/target_texts.h), which the page shares.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "answers/plan_reason_text.h"
#include "engine/language.h"
#include "engine/target_texts.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// Each text is GBK, in the language (English, ASCII, in the JSON).

using answers::PlanReasonText;

// Why no plan exists, on one line: the UARTs, their rates and the timer they
// would share, or the UART that no generator brings within the tolerance
// (with its nearest generator). chipName is --target as given; atCrystal the
// crystal the requests were planned on.
std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, double tolerancePercent, Language language);

}  // namespace tesmirol::cli
