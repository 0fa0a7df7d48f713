#include "answers/reload_question.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers/chip_choice.h"
#include "answers/reload_answer.h"
#include "answers/reload_json.h"

namespace tesmirol::answers {
namespace {

// The generators of the target's UART, or the status that says which text
// is wrong; none for the classic Timer 1 (an empty target).
std::string_view ReadReloadTargets(const ReloadTexts& texts, std::vector<const BaudTarget*>& targets,
                                   std::string& uartName) {
  if (texts.target && texts.target->empty()) {
    return {};
  }
  const ChipChoice choice = ReadChipChoice(texts.target.value_or(std::string()));
  if (!texts.target || choice.chipTargets.empty()) {
    return "unknownTarget";
  }
  if (texts.uart) {
    targets = TargetsOfChosenUart(choice, *texts.uart, uartName);
  }
  return targets.empty() ? "unknownUart" : "";
}

}  // namespace

void WriteReloadQuestion(JsonWriter& json, const ReloadTexts& texts) {
  json.BeginObject();
  std::vector<const BaudTarget*> targets;
  std::string uartName;
  std::string_view problem = ReadReloadTargets(texts, targets, uartName);
  const std::optional<std::uint32_t> value = texts.reload ? ReadReloadText(*texts.reload) : std::nullopt;
  if (problem.empty() && !value) {
    problem = "badReload";
  }
  if (problem.empty() && !texts.crystal) {
    problem = "crystalNotGbk";
  }
  if (!problem.empty()) {
    json.StringMember("status", problem);
    json.EndObject();
    return;
  }
  json.StringMember("uart", uartName);
  // A rate that is not GBK compares with nothing, as one that does not read.
  WriteReloadAnswer(json, AnswerReload(*texts.crystal, *value, targets, texts.baud.value_or(std::string())));
  json.EndObject();
}

}  // namespace tesmirol::answers
