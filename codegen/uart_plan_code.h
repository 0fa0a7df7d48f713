#pragma once
// The init code of a UART plan: one text that holds one init function per
// UART (SIO_Init for the chip's first UART, SIO2_Init ... for the others, as
// the catalogue names them), with every special function register the
// functions need declared once, so that the text compiles as it stands in
// one program.

#include <span>
#include <string>
#include <vector>

#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "engine/uart_planner.h"

namespace tesmirol {

// The code when every UART of the plan is within the tolerance (1 %, or the
// wider one of --max-error), the warning when one is beyond it, in the
// language. inputs gives the crystal text. The notes go into the header
// comment of the first function (the plan's first UART), after its formula
// line. Every UART carries the frame (see CodeFrame).
GeneratedInitCode GeneratePlanCode(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode,
                                   Language language = Language::Chinese, HeaderNotes notes = {},
                                   const SerialFrame& frame = {}, double tolerancePercent = kCodeTolerancePercent);

// The requests for the init code of each UART of the plan, in its order.
std::vector<TargetCodeRequest> PlanCodeRequests(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode,
                                                const SerialFrame& frame = {});

// The text of several init functions of one chip, in the order given: the
// registers all of them write declared once (GBK, CR LF), then each function
// with its header comment (and its request's notes), comments in the
// language. Requests without a target are left out.
std::string GeneratePlanInitCode(std::span<const TargetCodeRequest> requests, Language language = Language::Chinese);

}  // namespace tesmirol
