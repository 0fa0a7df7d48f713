#pragma once
// The init function and a polled serial driver of one UART, or of each UART
// of a plan, in 8051 assembly: for Keil's A51 (Intel syntax, C51's names and
// registers) or for SDCC's sdas8051 (SDCC's names, arguments in DPL). The
// init function writes what the C init function of the same setting writes,
// with reception on and the UART's interrupt off; send waits for the send
// flag and receive for the receive flag, each clearing its flag.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/target_init_code.h"

namespace tesmirol {

enum class AsmSyntax { A51, Sdas };

// Whether the assembly text covers the target's generator and serial port.
bool AsmCoversTarget(const BaudTarget& target);

// The catalogue's targets the assembly text covers, in catalogue order.
std::vector<std::string> AsmCoveredTargetNames();

// The names the functions of one UART go by in the syntax: the init
// function, send and receive, as the assembly text labels them (SIO_Init,
// _uart1_send, uart1_receive for A51; _SIO_Init, _uart1_send,
// _uart1_receive for sdas8051).
struct AsmFunctionNames {
  std::string init;
  std::string send;
  std::string receive;
};
AsmFunctionNames AsmFunctionNamesOf(const BaudTarget& target, AsmSyntax syntax);

// The text: GBK with CR LF line ends, comments in the language in the style
// of the C text (each request's notes as "; " lines in its init function's
// header), the registers the 8051's definitions lack declared once, then per
// UART its init function, send and receive. Requests without a target are
// left out; an empty text when none is left.
std::string GenerateAsmDriver(std::span<const TargetCodeRequest> requests, AsmSyntax syntax,
                              Language language = Language::Chinese);

}  // namespace tesmirol
