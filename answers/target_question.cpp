#include "answers/target_question.h"

#include <utility>

#include "answers/chip_choice.h"
#include "answers/target_json.h"
#include "text/encoding.h"

namespace tesmirol::answers {

TargetQuestion ReadTargetChoice(const GbkText& name, const GbkText& uart) {
  TargetQuestion question;
  question.name = name.value_or(std::string());
  const ChipChoice choice = ReadChipChoice(question.name);
  if (!name || choice.chipTargets.empty()) {
    question.problem = "unknownTarget";
    return question;
  }
  if (uart) {
    question.targets = TargetsOfChosenUart(choice, *uart, question.uart);
  }
  if (question.targets.empty()) {
    question.problem = "unknownUart";
  }
  return question;
}

TargetQuestion ReadTargetQuestion(const GbkText& crystal, const GbkText& baud, const GbkText& name,
                                  const GbkText& uart) {
  TargetQuestion question = ReadTargetChoice(name, uart);
  if (!question.problem.empty()) {
    return question;
  }
  if (!crystal) {
    question.problem = "crystalNotGbk";
  } else if (!baud) {
    question.problem = "baudNotGbk";
  } else {
    question.inputs = ReadTargetInputs(*crystal, *baud);
    question.problem = question.inputs ? "" : "noResult";
  }
  return question;
}

TargetQuestionAnswer AnswerTargetQuestion(TargetQuestion question, const LinkTexts& link, Language language) {
  TargetQuestionAnswer answer{std::move(question), ReadLinkQuestion(link), std::nullopt};
  if (!TargetsCarryCodeFrame(answer.question.targets, answer.link)) {
    // Refused whatever the inputs, as tesmirol-cli refuses the frame for the target.
    answer.question.problem = "frameNotCarried";
  } else if (answer.question.inputs) {
    answer.answer = AnswerTarget(*answer.question.inputs, answer.question.targets, answer.link.Ask(),
                                 CodeStyleOf(answer.link, language));
  }
  return answer;
}

std::optional<TargetCodeRequest> TargetDriverRequest(const TargetQuestionAnswer& answer, Language language) {
  if (!answer.answer || answer.answer->code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return BestCodeRequest(*answer.answer, *answer.question.inputs, CodeStyleOf(answer.link, language));
}

void WriteTargetQuestion(JsonWriter& json, const TargetQuestionAnswer& answer) {
  json.BeginObject();
  json.Key("status");
  if (!answer.answer) {
    json.String(answer.question.problem);
    json.EndObject();
    return;
  }
  const TargetInputs& inputs = *answer.question.inputs;
  json.String("ok");
  json.StringMember("uart", answer.question.uart);
  // The user's texts came from UTF-16 and the code from the generator: they always convert back.
  static_cast<void>(WriteTargetMembers(json, text::GbkToUtf8(answer.question.name).value_or(std::string()),
                                       answer.answer->family, inputs, answer.answer->code));
  json.Key("link");
  WriteQuestionLink(json, answer.link, LinkOfAnswer(answer.link, answer.answer->link, inputs.baud));
  json.EndObject();
}

}  // namespace tesmirol::answers
