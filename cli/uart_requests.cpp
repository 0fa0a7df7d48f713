#include "cli/uart_requests.h"

#include <string>

#include "answers/chip_choice.h"

namespace tesmirol::cli {

std::vector<const BaudTarget*> ChipTargets(std::string_view targetOrFamily) {
  return answers::ReadChipChoice(targetOrFamily).chipTargets;
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
