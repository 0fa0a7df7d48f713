#include "cli/uart_requests.h"

#include <string>

#include "engine/target_catalogue.h"

namespace tesmirol::cli {

std::vector<const BaudTarget*> ChipTargets(std::string_view targetOrFamily) {
  if (const BaudTarget* target = FindBaudTarget(targetOrFamily)) {
    return {target};
  }
  return FindFamilyTargets(targetOrFamily);
}

std::vector<UartRequest> MakeUartRequests(std::span<const UartChoice> uarts, const TargetInputs& atBaud) {
  std::vector<UartRequest> requests;
  requests.reserve(uarts.size());
  for (const UartChoice& choice : uarts) {
    if (choice.baud) {
      requests.push_back({choice.uart, *choice.baud, std::to_string(*choice.baud)});
    } else {
      requests.push_back({choice.uart, atBaud.baud, atBaud.baudText});
    }
  }
  return requests;
}

}  // namespace tesmirol::cli
