#pragma once
// What --uart plans over: the chip's targets, and the UARTs and rates asked
// of them.

#include <span>
#include <string_view>
#include <vector>

#include "cli/command_line_options.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// The targets of the chip --target names: the one target of that name (its
// UART alone), or every target of the family, of every UART; empty for a
// name that is neither.
std::vector<const BaudTarget*> ChipTargets(std::string_view targetOrFamily);

// The requests of the --uart options, in the order given: each UART at its
// own rate, or at the rate of atBaud (BAUD, read as the solver reads it).
std::vector<UartRequest> MakeUartRequests(std::span<const UartChoice> uarts, const TargetInputs& atBaud);

}  // namespace tesmirol::cli
