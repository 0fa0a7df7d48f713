#pragma once
// The words of the reports about UART plans: why each UART got its timer,
// and why no plan exists. The clock and timer names are the engine's
// (engine/target_texts.h), which the page shares.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/target_texts.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// Each text is GBK, in the language (English, ASCII, in the JSON).

// Why the plan's UART got its generator, in words built from the plan's
// reason: "UART2 can only use Timer 2", "best of 6 generators", "shares
// Timer 2 with UART3 at one setting", "its best alone, stc-t2-1t, would take
// Timer 2, which UART2 needs at another setting".
std::string PlanReasonText(const UartPlan& plan, std::size_t index, Language language);

// Why no plan exists, on one line: the UARTs, their rates and the timer they
// would share, or the UART that no generator brings within the tolerance
// (with its nearest generator). chipName is --target as given; atCrystal the
// crystal the requests were planned on.
std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, double tolerancePercent, Language language);

}  // namespace tesmirol::cli
