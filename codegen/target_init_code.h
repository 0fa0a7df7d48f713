#pragma once
// The C source of the init function of one UART for one target of the
// catalogue and the setting the solver chose for it: Timer 1 in mode 2 or
// mode 0, the 8052's Timer 2, the STC15/STC8 Timers 2 to 4, the STC12C5A60S2's
// baud-rate generator, the Nuvoton Timer 3, the CH55x SBAUD1 and the Silicon
// Labs Timer 1.

#include <string>
#include <vector>

#include "codegen/init_code_generator.h"
#include "codegen/target_code_fragments.h"
#include "engine/baud_target.h"
#include "engine/language.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"

namespace tesmirol {

enum class UartMode { Mode1, Mode3 };  // 8 data bits (default) / 9 data bits

struct TargetCodeRequest {
  const BaudTarget* target = nullptr;
  TargetSetting setting;    // the chosen clock, reload and doubling bit
  std::string crystalText;  // GBK, as the report shows it (upper-cased like CalculateBaud does)
  std::string baudText;     // GBK, the rate asked for, as entered
  UartMode uartMode = UartMode::Mode1;
  // Whether the function enables the UART's interrupt; a polled serial
  // driver leaves it off.
  bool enableInterrupt = true;
  // Lines for the function's header comment (see HeaderNotes): they go
  // right after its formula line, before its returns line, in the C text
  // and in the assembly text alike.
  // NOLINTNEXTLINE(readability-redundant-member-init): lets a request be written without it
  std::vector<std::string> notes{};
  // The character the UART carries: 8N1 in mode 1; in mode 3 the ninth bit
  // is a parity bit the code works out (8E1, 8O1), a fixed bit (8M1, 8S1,
  // and 8N2's first stop bit) or the program's own ninth data bit (9N1).
  SerialFrame frame{};
};

// The frame the request's code carries: its frame when that frame's UART
// mode is the request's; otherwise 9N1 in mode 3 (a caller that asks for
// mode 3 alone wants nine data bits) and 8N1 in mode 1.
SerialFrame CodeFrame(const TargetCodeRequest& request);

// Whether the target's code can set the frame up: every frame on the UARTs
// with SCON; 8N1 and 8N2 on the CC253x USARTs, whose parity and ninth-bit
// settings (UxUCR's D9, BIT9, PARITY) the code does not write.
bool TargetCarriesFrame(const BaudTarget& target, const SerialFrame& frame);

// Whether the frame's ninth bit is 1 for every byte (8M1, and 8N2's first
// stop bit), so that the init function sets TB8 once.
bool FrameSetsTb8(const SerialFrame& frame) noexcept;

// The init function's text for the setting: GBK bytes with CR LF line ends,
// in the style of the dialog's generated code (comments in the language that
// explain each register the function writes; the English text is ASCII and
// has the same code lines as the Chinese one), declaring the special function
// registers that reg51.h / <8051.h> lack for both Keil C51 and SDCC (chosen
// by __SDCC). The function is named as the catalogue names it for the UART
// (SIO_Init, SIO2_Init ...). Shared registers (TMOD, PCON, AUXR, CKCON,
// T2CON, IE2, T4T3M, T3CON, T2MOD) keep the bits the baud rate does not need.
// An empty text when the request names no target.
std::string GenerateTargetInitCode(const TargetCodeRequest& request, Language language = Language::Chinese);

// The same function with its header comment but without the register
// declarations, for a text that declares them once for several functions.
std::string GenerateTargetInitFunction(const TargetCodeRequest& request, Language language = Language::Chinese);

// The names of the pieces the init function's statements are put together
// from, in order (the port's mode, the clock, the generator, the doubling
// bit, the start of Timer 1, reception on; the Nuvoton SFR page around
// them): the same names in every form of the function.
std::vector<std::string> InitFunctionPieces(const BaudTarget& target, bool enableInterrupt);

// The chips the target fits, in the language's words (GBK), for the
// comments of its code.
std::string TargetChipsText(const BaudTarget& target, Language language);

// What each "<NAME>" of the init function's pieces is filled with: the
// setting's values as the C text writes them (the reload "0xFD", the
// statements of the shared registers), the texts of its comments in the
// language and the request's notes as C comment lines (<NOTES>).
TextFills TargetInitFills(const TargetCodeRequest& request, Language language = Language::Chinese);

// What a target's best setting gives, by the one rule every front end uses:
// the code when the setting is within the tolerance (1 %, or the wider one
// of --max-error), the warning beyond it, nothing when no setting is in
// range (no solution, or one that is not Ok). The code and the warning are
// in the language; the notes go into the header comment (see
// TargetCodeRequest::notes). The frame is the one the code carries in the
// UART mode (see CodeFrame).
GeneratedInitCode GenerateTargetCode(const TargetSolution* best, const TargetInputs& inputs, UartMode uartMode,
                                     Language language = Language::Chinese, HeaderNotes notes = {},
                                     const SerialFrame& frame = {}, double tolerancePercent = kCodeTolerancePercent);

}  // namespace tesmirol
