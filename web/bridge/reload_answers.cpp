#include "web/bridge/reload_answers.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "answers/json_writer.h"
#include "answers/reload_answer.h"
#include "answers/reload_json.h"
#include "text/encoding.h"
#include "web/bridge/chip_choice.h"

namespace tesmirol::web {
namespace {

// The generators of the target's UART, or the status that says which text
// is wrong; none for the classic Timer 1 (an empty target).
std::string_view ReadReloadTargets(std::u16string_view target, std::u16string_view uart,
                                   std::vector<const BaudTarget*>& targets, std::string& uartName) {
  if (target.empty()) {
    return {};
  }
  const std::optional<std::string> nameGbk = text::Utf16ToGbk(target);
  const std::optional<std::string> uartGbk = text::Utf16ToGbk(uart);
  const ChipChoice choice = ReadChipChoice(nameGbk.value_or(std::string()));
  if (!nameGbk || choice.chipTargets.empty()) {
    return "unknownTarget";
  }
  if (uartGbk) {
    targets = TargetsOfChosenUart(choice, *uartGbk, uartName);
  }
  return targets.empty() ? "unknownUart" : "";
}

}  // namespace

std::string ReloadJson(std::u16string_view crystal, std::u16string_view reload, std::u16string_view target,
                       std::u16string_view uart, std::u16string_view baud) {
  answers::JsonWriter json;
  json.BeginObject();
  std::vector<const BaudTarget*> targets;
  std::string uartName;
  std::string_view problem = ReadReloadTargets(target, uart, targets, uartName);
  const std::optional<std::string> crystalGbk = text::Utf16ToGbk(crystal);
  const std::optional<std::string> reloadGbk = text::Utf16ToGbk(reload);
  const std::optional<std::uint32_t> value =
      reloadGbk ? answers::ReadReloadText(*reloadGbk) : std::optional<std::uint32_t>();
  if (problem.empty() && !value) {
    problem = "badReload";
  }
  if (problem.empty() && !crystalGbk) {
    problem = "crystalNotGbk";
  }
  if (!problem.empty()) {
    json.StringMember("status", problem);
    json.EndObject();
    return json.Text();
  }
  json.StringMember("uart", uartName);
  // A rate that is not GBK compares with nothing, as one that does not read.
  const std::string baudGbk = text::Utf16ToGbk(baud).value_or(std::string());
  answers::WriteReloadAnswer(json, answers::AnswerReload(*crystalGbk, *value, targets, baudGbk));
  json.EndObject();
  return json.Text();
}

}  // namespace tesmirol::web
