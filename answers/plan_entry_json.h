#pragma once
// One UART of a plan as JSON with the command line's keys, as
// tesmirol-cli --uart --json and the clock finder's plans write it.

#include <cstddef>

#include "answers/json_writer.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// uart, baud, baudText, target, generator, function, timer, clock, setting,
// reason, why (in English: the same in every language), generatorCount,
// sharedWith (the UARTs' names), bestAlone and takenBy (a name, or null).
void WritePlanEntry(JsonWriter& json, const UartPlan& plan, std::size_t index);

}  // namespace tesmirol::answers
