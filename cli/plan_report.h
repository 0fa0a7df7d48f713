#pragma once
// The report of a UART plan (--uart) as text (GBK, in the target report's
// manner); answers/plan_json.h writes it as JSON.

#include <cstddef>
#include <span>
#include <string>

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

}  // namespace tesmirol::cli
