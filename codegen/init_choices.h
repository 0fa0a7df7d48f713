#pragma once
// The register values a target's init function writes for a setting, worked
// out once so that every form of the function (the C text, the assembly
// text) writes the same bits: the timer's clock, the serial port's control
// value and the writes to registers shared with other functions, which keep
// the bits the baud rate does not need.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "codegen/target_registers.h"
#include "engine/baud_target.h"

namespace tesmirol {

// REG = (REG & keep) | set: keep 0xFF only sets bits, set 0 only clears them.
struct RegisterWrite {
  std::string_view reg;
  std::uint32_t keep = 0xFF;
  std::uint32_t set = 0;
};

// The register writes of a setting by the name the code pieces give them
// (AUXR_CLOCK, CKCON_CLOCK, T2MOD_CLOCK, T3CON_SET, AUXR_T2, AUXR_BRT2,
// T4T3M_CLOCK, PCON; AUXR_SET holds what the STC Timer 2 and BRT functions
// set after clearing their bits).
using RegisterWrites = std::map<std::string, RegisterWrite, std::less<>>;

// The clock the setting runs the timer at: the target's clock choice of
// that index, or its one clock when it lists none.
ClockChoice ChosenClock(const BaudTarget& target, const TargetSetting& setting);

// Whether S3CON.S3ST3 / S4CON.S4ST4 picks the UART's own timer (3 or 4)
// rather than Timer 2.
bool OwnTimer(const BaudTarget& target);

// The control register's value with reception still off: the mode (8 or 9
// data bits), and where the register holds them, the timer choice of UART3
// and UART4 and the CH55x UART1's doubling bit.
std::uint32_t ControlValue(SerialPort port, const BaudTarget& target, std::uint32_t smod, bool mode3);

// The writes of the clock selector, the doubling bit and the shared timer
// registers. select is the selector field's value (see ClockChoice).
RegisterWrites InitRegisterWrites(const BaudTarget& target, std::uint32_t select, std::uint32_t smod);

}  // namespace tesmirol
