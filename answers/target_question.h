#pragma once
// One UART of a target or chip family asked about by name, as the page asks
// (and tesmirol-cli --target NAME --uart UART): the name and UART read into
// the targets that drive it, the crystal and rate read for the exact solver,
// or the problem with the texts; then answered (AnswerTarget) with the link
// the page's link texts ask about, and written as the page's JSON.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/target_answer.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// The texts read: the targets and the inputs, or the problem:
// "unknownTarget", "unknownUart", "crystalNotGbk", "baudNotGbk" or
// "noResult" (the solver takes neither text); once answered also
// "frameNotCarried" (the link's frame, which the targets' code cannot set).
struct TargetQuestion {
  std::string_view problem;  // empty when everything was read
  std::string name;          // GBK, as given
  std::vector<const BaudTarget*> targets;
  std::string uart;  // the UART's name ("UART2")
  std::optional<TargetInputs> inputs;
};

// The name (a target, a family or a part number) and the UART ("2",
// "uart2", "UART2"; empty for the chip's first UART) alone.
TargetQuestion ReadTargetChoice(const GbkText& name, const GbkText& uart);

// The choice with the crystal and the rate.
TargetQuestion ReadTargetQuestion(const GbkText& crystal, const GbkText& baud, const GbkText& name,
                                  const GbkText& uart);

// The question answered: the solved targets, the link of the best setting
// and the code in the link's UART mode and frame.
struct TargetQuestionAnswer {
  TargetQuestion question;
  LinkQuestion link;
  std::optional<TargetAnswer> answer;  // when the question read
};

TargetQuestionAnswer AnswerTargetQuestion(TargetQuestion question, const LinkTexts& link, Language language);

// The best setting as the request for its serial driver or assembly text,
// with the link's note; none without code.
std::optional<TargetCodeRequest> TargetDriverRequest(const TargetQuestionAnswer& answer, Language language);

// {"status":"ok", "uart", the target's members (WriteTargetMembers),
// "link"} or {"status": the problem}.
void WriteTargetQuestion(JsonWriter& json, const TargetQuestionAnswer& answer);

}  // namespace tesmirol::answers
