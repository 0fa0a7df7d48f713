#pragma once
// Why a planned UART got its generator, in words built from the plan's
// reason: the same words for the command line's plan report and JSON, the
// clock finder's plans and the page.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/language.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// "A and B", "A, B and C" in the language (GBK).
std::string ListText(const std::vector<std::string>& items, Language language);

// "UART2 can only use Timer 2", "best of 6 generators", "shares Timer 2 with
// UART3 at one setting", "its best alone, stc-t2-1t, would take Timer 2,
// which UART2 needs at another setting". GBK (ASCII in English).
std::string PlanReasonText(const UartPlan& plan, std::size_t index, Language language);

}  // namespace tesmirol::answers
