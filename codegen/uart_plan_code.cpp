#include "codegen/uart_plan_code.h"

#include "engine/target_texts.h"

namespace tesmirol {

GeneratedInitCode GeneratePlanCode(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode) {
  GeneratedInitCode code;
  if (plan.uarts.empty()) {
    return code;
  }
  for (const PlannedUart& uart : plan.uarts) {
    if (!IsWithinTolerance(uart.setting)) {
      code.outcome = GenerationOutcome::Warning;
      code.text = kDeviationWarningText;
      return code;
    }
  }
  code.outcome = GenerationOutcome::Code;
  for (const PlannedUart& uart : plan.uarts) {
    TargetCodeRequest request;
    request.target = uart.target;
    request.setting = uart.setting;
    request.crystalText = inputs.crystalText;
    request.baudText = uart.request.baudText;
    request.uartMode = uartMode;
    code.text += GenerateTargetInitCode(request);
  }
  return code;
}

}  // namespace tesmirol
