#pragma once
// The init code of a UART plan: one text that holds one init function per
// UART (SIO_Init for the chip's first UART, SIO2_Init ... for the others, as
// the catalogue names them), with every special function register the
// functions need declared once, so that the text compiles as it stands in
// one program.

#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/uart_planner.h"

namespace tesmirol {

// The code when every UART of the plan is within 1 %, the warning when one
// is beyond it. inputs gives the crystal text.
GeneratedInitCode GeneratePlanCode(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode);

}  // namespace tesmirol
