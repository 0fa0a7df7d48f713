#pragma once
// The words of the reports about clocks, timers and UART plans: which clock
// a setting runs the timer at, why each UART got its timer, and why no plan
// exists.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/uart_planner.h"

namespace tesmirol::cli {

// The clock choice as the chips' manuals name it: "1T", "12T" for a timer
// that counts every P oscillator periods, "/128" for a prescaler that divides
// the system clock (Nuvoton T3PS, WCH T2MOD, Silicon Labs SCA).
std::string ClockChoiceText(const BaudTarget& target, std::uint32_t clockIndex);

// Every clock choice of the target: "1T 12T", "/1 /2 /4 ... /128".
std::string ClockChoicesText(const BaudTarget& target);

// The catalogue's timer in the manuals' words: "timer2" is "Timer 2",
// "brt" is "BRT".
std::string TimerText(std::string_view timer);

// Why the plan's UART got its generator, in words built from the plan's
// reason: "UART2 can only use Timer 2", "best of 6 generators", "shares
// Timer 2 with UART3 at one setting", "its best alone, stc-t2-1t, would take
// Timer 2, which UART2 needs at another setting".
std::string PlanReasonText(const UartPlan& plan, std::size_t index);

// Why no plan exists, on one line: the UARTs, their rates and the timer they
// would share, or the UART that no generator brings within the tolerance
// (with its nearest generator). chipName is --target as given; atCrystal the
// crystal the requests were planned on.
std::string PlanConflictText(const PlanConflict& conflict, std::span<const UartRequest> requests,
                             std::span<const BaudTarget* const> chipTargets, std::string_view chipName,
                             const TargetInputs& atCrystal, double tolerancePercent);

}  // namespace tesmirol::cli
