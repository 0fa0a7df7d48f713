#include "codegen/uart_plan_code.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/target_texts.h"

namespace tesmirol {

std::string GeneratePlanInitCode(std::span<const TargetCodeRequest> requests, Language language) {
  std::vector<const BaudTarget*> targets;
  for (const TargetCodeRequest& request : requests) {
    if (request.target != nullptr) {
      targets.push_back(request.target);
    }
  }
  std::string code;
  const std::vector<ExtraRegister> registers = ExtraRegisters(targets);
  if (!registers.empty()) {
    code += TargetCodeFragment("plan_sfr", language);
    if (std::any_of(registers.begin(), registers.end(), [](const ExtraRegister& reg) { return reg.in8052Headers; })) {
      code += TargetCodeFragment("sfr8052", language);
    }
    code += RegisterDeclarations(registers);
  }
  for (const TargetCodeRequest& request : requests) {
    if (request.target == nullptr) {
      continue;
    }
    if (!code.empty()) {
      code += "\r\n";
    }
    code += GenerateTargetInitFunction(request, language);
  }
  return code;
}

std::vector<TargetCodeRequest> PlanCodeRequests(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode,
                                                const SerialFrame& frame) {
  std::vector<TargetCodeRequest> requests;
  std::transform(plan.uarts.begin(), plan.uarts.end(), std::back_inserter(requests), [&](const PlannedUart& uart) {
    return TargetCodeRequest{uart.target, uart.setting, inputs.crystalText, uart.request.baudText, uartMode, true,
                             {},          frame};
  });
  return requests;
}

GeneratedInitCode GeneratePlanCode(const UartPlan& plan, const TargetInputs& inputs, UartMode uartMode,
                                   Language language, HeaderNotes notes, const SerialFrame& frame,
                                   double tolerancePercent) {
  GeneratedInitCode code;
  if (plan.uarts.empty()) {
    return code;
  }
  if (std::any_of(plan.uarts.begin(), plan.uarts.end(), [tolerancePercent](const PlannedUart& uart) {
        return !IsWithinTolerance(uart.setting, tolerancePercent);
      })) {
    code.outcome = GenerationOutcome::Warning;
    code.text = DeviationWarningText(language);
    return code;
  }
  std::vector<TargetCodeRequest> requests = PlanCodeRequests(plan, inputs, uartMode, frame);
  requests.front().notes.assign(notes.begin(), notes.end());
  code.outcome = GenerationOutcome::Code;
  code.text = GeneratePlanInitCode(requests, language);
  return code;
}

}  // namespace tesmirol
