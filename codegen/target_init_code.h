#pragma once
// The C source of SIO_Init for one target of the catalogue and the setting
// the solver chose for it: Timer 1 in mode 2 or mode 0, the 8052's Timer 2,
// the STC15/STC8 Timer 2 or the STC12C5A60S2's baud-rate generator.

#include <string>

#include "codegen/init_code_generator.h"
#include "engine/baud_target.h"
#include "engine/target_solver.h"

namespace tesmirol {

enum class UartMode { Mode1, Mode3 };  // 8 data bits (default) / 9 data bits

struct TargetCodeRequest {
  const BaudTarget* target = nullptr;
  TargetSetting setting;    // the chosen reload and SMOD
  std::string crystalText;  // GBK, as the report shows it (upper-cased like CalculateBaud does)
  std::string baudText;     // GBK, the rate asked for, as entered
  UartMode uartMode = UartMode::Mode1;
};

// The SIO_Init text for the setting: GBK bytes with CR LF line ends, in the
// style of the dialog's generated code (Chinese comments that explain each
// register the function writes), declaring the special function registers
// that reg51.h / <8051.h> lack for both Keil C51 and SDCC (chosen by __SDCC).
// Shared registers (TMOD, PCON, AUXR, CKCON, T2CON) keep the bits the baud
// rate does not need. An empty text when the request names no target.
std::string GenerateTargetInitCode(const TargetCodeRequest& request);

// What a target's best setting gives, by the one rule every front end uses:
// the code when the setting is within 1 %, the warning beyond it, nothing
// when no setting is in range (no solution, or one that is not Ok).
GeneratedInitCode GenerateTargetCode(const TargetSolution* best, const TargetInputs& inputs, UartMode uartMode);

}  // namespace tesmirol
