#pragma once
// The special function registers a target's SIO_Init writes beyond those of
// the classic 8051 (which reg51.h and SDCC's <8051.h> declare), with their
// addresses, and their declarations for Keil C51 and SDCC.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"

namespace tesmirol {

struct ExtraRegister {
  std::string_view name;
  std::uint8_t address = 0;
  bool in8052Headers = false;  // declared by reg52.h and <8052.h> as well
};

// The registers the generated code for this generator and clock writes that
// reg51.h and <8051.h> do not declare, in the order the code uses them.
std::vector<ExtraRegister> ExtraRegisters(const BaudTarget& target);

// The declarations of the registers, one block for SDCC (__sfr __at) and
// one for Keil C51 (sfr), chosen by __SDCC; the 8052's Timer 2 registers are
// skipped when reg52.h or <8052.h> declared them already. CR LF line ends;
// empty for no registers.
std::string RegisterDeclarations(const std::vector<ExtraRegister>& registers);

}  // namespace tesmirol
