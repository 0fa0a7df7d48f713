#pragma once
// What a target name and a UART name stand for, on the command line
// (--target, --uart) and on the page alike: one target of the catalogue, or
// a chip family with every UART it has, and the targets that drive the UART
// asked for.

#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"

namespace tesmirol::answers {

struct ChipChoice {
  std::vector<const BaudTarget*> chipTargets;  // every target of the name, of every UART; empty when unknown
  bool family = false;                         // the name is a chip family, not one target
};

// The name as a target, a chip family or a part number of a family, in any
// ASCII case (GBK).
ChipChoice ReadChipChoice(std::string_view nameGbk);

// The targets of the choice that drive the UART ("2", "uart2" or "UART2"),
// in catalogue order; an empty UART text stands for the chip's first UART.
// Empty when the chip has no such UART. uart receives the UART's name.
std::vector<const BaudTarget*> TargetsOfChosenUart(const ChipChoice& choice, std::string_view uartGbk,
                                                   std::string& uart);

// The same for a name alone: the targets of its first UART.
std::vector<const BaudTarget*> TargetsOfFirstUart(std::string_view nameGbk);

}  // namespace tesmirol::answers
