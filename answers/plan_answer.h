#pragma once
// Several UARTs of a chip planned together, answered once for the command
// line and the page: the plan (or the conflict), each planned UART's link
// when one is asked about for it, and the code of every UART's function
// with its link's note line.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/link_answer.h"
#include "answers/target_answer.h"
#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

struct PlanAnswer {
  PlanResult result;
  std::vector<std::optional<LinkAnswer>> links;  // per planned UART, in the plan's order; none: not asked
  std::vector<TargetCodeRequest> requests;       // per planned UART, with its link's note line
  GeneratedInitCode code;                        // nothing without a plan
};

// Plans the requests on the chip's generators; linkOfUart gives the link
// to check for a planned UART by its name ("UART2"), null for none.
PlanAnswer AnswerPlan(std::span<const BaudTarget* const> chipTargets, const TargetInputs& crystal,
                      std::span<const UartRequest> requests, double tolerancePercent, const TargetCodeStyle& style,
                      const std::function<const LinkAsk*(std::string_view uart)>& linkOfUart);

// The link asked about for one UART ("UART2"): its own other end, or the
// one of every UART.
struct UartLinkAsk {
  std::string uart;
  LinkAsk ask;
};

// The same with the links of the UARTs asked about; a UART not among them
// has none.
PlanAnswer AnswerPlan(std::span<const BaudTarget* const> chipTargets, const TargetInputs& crystal,
                      std::span<const UartRequest> requests, double tolerancePercent, const TargetCodeStyle& style,
                      std::span<const UartLinkAsk> links);

// The first planned UART whose setting is beyond the tolerance (why a plan
// has no code); null when every one is within.
const PlannedUart* FirstUartBeyond(const UartPlan& plan, double tolerancePercent);

}  // namespace tesmirol::answers
