#pragma once
// A target's or family's question answered once for the command line and
// the page: every target solved for the inputs, the link of the best
// setting when a link is asked about, and the code of the best setting (or
// the warning) with the link's note line.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "answers/link_answer.h"
#include "codegen/init_code_generator.h"
#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// How the code is written: the UART mode and frame, the language of its
// comments and the deviation it accepts.
struct TargetCodeStyle {
  UartMode uartMode = UartMode::Mode1;
  SerialFrame frame;
  Language language = Language::Chinese;
  double tolerancePercent = kCodeTolerancePercent;
};

struct TargetAnswer {
  FamilySolution family;
  std::optional<LinkAnswer> link;  // when a link is asked about
  std::vector<std::string> notes;  // the link's note line in the code's header (GBK)
  GeneratedInitCode code;

  // The best target's solution, none when no setting is in range.
  [[nodiscard]] const TargetSolution* Best() const noexcept;
};

// Why the best setting's code fails a deviation limit (the build check of
// tesmirol-cli --max-error), or that it passes.
enum class TargetCodeCheck {
  Passes,
  TooLow,       // no setting in range: the rate is below every target's
  TooHigh,      // no setting in range: the rate is above every target's
  NoCode,       // the best setting is beyond the code's tolerance and the limit
  BeyondLimit,  // the best setting has code but is beyond the limit
};

// The check of the best setting against limit percent; the code accepts
// the dialog's 1 %, or the wider limit.
TargetCodeCheck CheckTargetCode(const FamilySolution& family, double limitPercent);

// Why there is no code: TooLow, TooHigh or NoCode (see CheckTargetCode).
TargetCodeCheck NoTargetCodeReason(const FamilySolution& family) noexcept;

// Solves the targets for the inputs; link, when not null, is the link to check.
TargetAnswer AnswerTarget(const TargetInputs& inputs, std::span<const BaudTarget* const> targets, const LinkAsk* link,
                          const TargetCodeStyle& style);

// What the driver and the assembly text are generated from: the best
// setting with the answer's notes; none without a best setting.
std::optional<TargetCodeRequest> BestCodeRequest(const TargetAnswer& answer, const TargetInputs& inputs,
                                                 const TargetCodeStyle& style);

// The assembly text (GBK, CR LF) of the answer's best setting in the
// syntax: its init function, send and receive, with the answer's notes, as
// tesmirol-cli --target --asm writes it; none when the answer has no code
// (no setting in range, or the best beyond the tolerance).
std::optional<std::string> AnswerAsm(const TargetAnswer& answer, const TargetInputs& inputs,
                                     const TargetCodeStyle& style, AsmSyntax syntax);

}  // namespace tesmirol::answers
