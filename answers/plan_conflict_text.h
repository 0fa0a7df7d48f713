#pragma once
// Why no plan exists for the UARTs asked, in words: the same line for the
// command line's message (stderr, and the JSON's "message" in English) and
// the page's plan document.

#include <span>
#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// Why no plan exists, on one line: the UARTs, their rates and the timer they
// would share, or the UART that no generator brings within the tolerance
// (with its nearest generator). chipName is the chip as the user named it;
// atCrystal the crystal the requests were planned on; toleranceText the
// tolerance as the user would write it ("1", "0.5"). GBK (ASCII in English).
std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, std::string_view toleranceText, Language language);

}  // namespace tesmirol::answers
