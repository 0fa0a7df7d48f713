#pragma once
// One UART of a plan as JSON with the command line's keys, as
// tesmirol-cli --uart --json, the clock finder's plans and the page write it.

#include <cstddef>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// A planned UART's other end and its link, as the plan writes them beside
// the UART.
struct PlanUartLink {
  LinkQuestion question;  // not asked: no other end for this UART
  QuestionLink link;
};

// uart, baud, baudText, target, generator, function, timer, clock, setting,
// reason, why (in English: the same in every language), generatorCount,
// sharedWith (the UARTs' names), bestAlone and takenBy (a name, or null);
// with a link, then peer (its name as given, or null) and link
// (WriteQuestionLink's value).
void WritePlanEntry(JsonWriter& json, const UartPlan& plan, std::size_t index, const PlanUartLink* link = nullptr);

}  // namespace tesmirol::answers
