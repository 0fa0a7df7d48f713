#pragma once
// The report of a UART plan (--uart): as text (GBK, in the target report's
// manner) and as JSON.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "codegen/init_code_generator.h"
#include "engine/language.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// What a plan was asked for: the chip as given, the crystal, the UARTs and
// the tolerance every UART is held to.
struct PlanQuestion {
  std::string chipName;
  const TargetInputs* crystal = nullptr;
  std::span<const UartRequest> requests;
  double tolerancePercent = 1.0;
};

// The text report: a line per UART with its generator, timer, clock choice,
// SMOD, the reload in its registers, the achieved rate and the deviation, and
// why it got that timer; then the code or the warning after a blank line.
// GBK.
std::string FormatPlanReport(const PlanQuestion& question, const UartPlan& plan, const GeneratedInitCode& code,
                             Language language);

// One UART of the plan as JSON: uart, baud, baudText, target, generator,
// function, timer, clock, setting, reason, why, generatorCount, sharedWith,
// bestAlone, takenBy. No result when the baud text cannot be written as
// UTF-8.
std::optional<nlohmann::ordered_json> PlannedUartJson(const UartPlan& plan, std::size_t index);

// The conflict as JSON: kind, uarts, bauds, timer (or null) and message.
nlohmann::ordered_json PlanConflictJson(const PlanConflict& conflict, std::span<const UartRequest> requests,
                                        const std::string& message);

// One JSON object: the question, the plan (or null) and the conflict (or
// null), the outcome and the output. No result when a text cannot be written
// as UTF-8.
std::optional<nlohmann::ordered_json> MakePlanJson(const PlanQuestion& question, const PlanResult& result,
                                                   const std::string& conflictMessage, const GeneratedInitCode& code);

}  // namespace tesmirol::cli
