#pragma once
// The report of several UARTs planned together as JSON, one document for
// the command line (tesmirol-cli --target --uart --json) and the page: the
// question, the plan or the conflict, the code.

#include <span>
#include <string_view>

#include "answers/json_writer.h"
#include "answers/plan_entry_json.h"
#include "codegen/init_code_generator.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// What the plan's document is written from.
struct PlanDocument {
  std::string_view target;  // the chip as the user named it (UTF-8); a part number's family
  std::string_view part;    // the part number named, or empty
  const TargetInputs* crystal = nullptr;
  std::span<const UartRequest> requests;
  double tolerancePercent = 1.0;
  const PlanResult* result = nullptr;
  std::string_view conflictMessage;  // why there is no plan, in English (ASCII)
  const GeneratedInitCode* code = nullptr;
  SerialFrame frame;                    // the code's frame; written when it needs mode 3
  std::span<const PlanUartLink> links;  // per planned UART; empty: no peer and link members
};

// The conflict: {"kind", "uarts" (names), "bauds", "timer" (or null),
// "message"}.
void WritePlanConflict(JsonWriter& json, const PlanConflict& conflict, std::span<const UartRequest> requests,
                       std::string_view message);

// The planned UARTs (WritePlanEntry each, with its link when links has
// one a UART), or null without a plan.
void WritePlanEntries(JsonWriter& json, const PlanResult& result, std::span<const PlanUartLink> links);

// The document's members inside an object the caller opens and closes:
// target, crystalText, crystalHz (the page's face adds crystalHzText),
// tolerance, uarts (each request's uart, baud, baudText), plan (or null),
// conflict (or null), outcome and output; then frame for a mode 3 frame
// and part when a part number was named. False, with nothing written, when
// a text cannot be written as UTF-8.
[[nodiscard]] bool WritePlanMembers(JsonWriter& json, const PlanDocument& document);

}  // namespace tesmirol::answers
