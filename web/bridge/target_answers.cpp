#include "web/bridge/target_answers.h"

#include <cstddef>
#include <vector>

#include "answers/target_answer.h"
#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/deviation_text.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"
#include "res/preset_lists.h"
#include "text/encoding.h"
#include "web/bridge/chip_choice.h"
#include "web/bridge/link_answers.h"
#include "web/bridge/target_json.h"

namespace tesmirol::web {
namespace {

// The texts as GBK and the targets, or the status that says which is wrong.
struct TargetRequest {
  std::string_view problem;  // empty when everything was found
  std::optional<TargetInputs> inputs;
  std::vector<const BaudTarget*> targets;
  std::string uart;
};

// The name and UART as the targets they stand for; problem says what is
// wrong when there are none.
TargetRequest ReadTargets(std::u16string_view name, std::u16string_view uart) {
  TargetRequest request;
  const std::optional<std::string> nameGbk = text::Utf16ToGbk(name);
  const std::optional<std::string> uartGbk = text::Utf16ToGbk(uart);
  const ChipChoice choice = ReadChipChoice(nameGbk.value_or(std::string()));
  if (!nameGbk || choice.chipTargets.empty()) {
    request.problem = "unknownTarget";
    return request;
  }
  if (uartGbk) {
    request.targets = TargetsOfChosenUart(choice, *uartGbk, request.uart);
  }
  if (request.targets.empty()) {
    request.problem = "unknownUart";
  }
  return request;
}

TargetRequest ReadRequest(std::u16string_view crystal, std::u16string_view baud, std::u16string_view name,
                          std::u16string_view uart) {
  TargetRequest request = ReadTargets(name, uart);
  if (!request.problem.empty()) {
    return request;
  }
  const std::optional<std::string> crystalGbk = text::Utf16ToGbk(crystal);
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  if (!crystalGbk) {
    request.problem = "crystalNotGbk";
  } else if (!baudGbk) {
    request.problem = "baudNotGbk";
  } else {
    request.inputs = ReadTargetInputs(*crystalGbk, *baudGbk);
    request.problem = request.inputs ? "" : "noResult";
  }
  return request;
}

const TargetSolution* Best(const FamilySolution& family) {
  return family.best ? &family.solutions.at(*family.best) : nullptr;
}

// The link of the best setting, when there is one.
LinkAnswer BestLink(const LinkQuestion& question, const TargetSolution* best, const TargetInputs& inputs) {
  return AnswerLink(question, answers::SettingOwnRate(best != nullptr ? &best->best : nullptr), inputs.baud);
}

// The targets of the request answered for its inputs, with the link the
// question asks about (none when its texts do not read) and the code in
// its UART mode and frame.
answers::TargetAnswer AnswerRequest(const TargetRequest& request, const LinkQuestion& question, Language language) {
  const answers::LinkAsk* ask = question.asked && question.problem.empty() ? &question.ask : nullptr;
  return answers::AnswerTarget(*request.inputs, request.targets, ask,
                               {CodeUartMode(question), CodeSerialFrame(question), language, kCodeTolerancePercent});
}

// The link of the answer as the page reads it: null, the question's
// problem, or the link answers/ checked.
LinkAnswer PageLink(const LinkQuestion& question, const answers::TargetAnswer& answer, const TargetInputs& inputs) {
  return answer.link ? LinkAnswer{"", *answer.link} : AnswerLink(question, {}, inputs.baud);
}

// One crystal of the finder on the targets, solved, with its link.
struct FinderCrystal {
  std::string_view crystal;
  std::optional<TargetInputs> inputs;
  FamilySolution family;
};

// One row of the crystal finder on the targets: the best setting of the
// best target, the outcome and the link, as a row of tesmirol-cli --target
// --table.
void WriteFinderRow(JsonWriter& json, const FinderCrystal& row, const LinkQuestion& question, const LinkAnswer& link) {
  json.BeginObject();
  json.StringMember("crystal", row.crystal);  // the presets are ASCII
  json.Key("status");
  if (!row.inputs) {
    json.Null();
    json.EndObject();
    return;
  }
  const FamilySolution& family = row.family;
  const TargetSolution* best = Best(family);
  json.String(TargetStatusName(best != nullptr ? best->status : family.solutions.front().status));
  json.StringMember("target", best != nullptr ? best->target->name : std::string());
  json.Key("best");
  if (best != nullptr) {
    WriteSetting(json, *best->target, best->best);
  } else {
    json.Null();
  }
  json.Key("outcome");
  if (best == nullptr) {
    json.String("Nothing");
  } else {
    json.String(IsWithinTolerance(best->best) ? "Code" : "Warning");
  }
  json.Key("link");
  WriteLinkSummary(json, question, link);
  json.EndObject();
}

}  // namespace

std::string TargetsJson() {
  JsonWriter json;
  json.BeginObject();
  json.Key("targets");
  json.BeginArray();
  for (const BaudTarget& target : BaudTargets()) {
    json.BeginObject();
    json.StringMember("name", target.name);
    json.StringMember("chips", target.chips);
    json.Key("families");
    json.BeginArray();
    for (const std::string& family : target.families) {
      json.String(family);
    }
    json.EndArray();
    json.StringMember("uart", target.uart);
    json.StringMember("timer", target.timer);
    json.StringMember("function", target.function);
    json.EndObject();
  }
  json.EndArray();
  json.Key("families");
  json.BeginArray();
  for (const std::string& family : BaudTargetFamilies()) {
    json.BeginObject();
    json.StringMember("name", family);
    json.Key("uarts");
    json.BeginArray();
    for (const std::string& uart : UartNames(FindFamilyTargets(family))) {
      json.String(uart);
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::string TargetSolutionJson(std::u16string_view crystal, std::u16string_view baud, std::u16string_view target,
                               std::u16string_view uart, Language language, const LinkTexts& link) {
  const TargetRequest request = ReadRequest(crystal, baud, target, uart);
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  if (!request.inputs) {
    json.String(request.problem);
    json.EndObject();
    return json.Text();
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  const answers::TargetAnswer answer = AnswerRequest(request, question, language);
  json.String("ok");
  json.StringMember("uart", request.uart);
  // The user's texts came from UTF-16 and the code from the generator: they always convert back.
  static_cast<void>(answers::WriteTargetMembers(json, Utf8(text::Utf16ToGbk(target).value_or(std::string())),
                                                answer.family, *request.inputs, answer.code));
  json.Key("link");
  WriteLink(json, question, PageLink(question, answer, *request.inputs));
  json.EndObject();
  return json.Text();
}

std::string TargetTableJson(std::u16string_view baud, std::u16string_view target, std::u16string_view uart,
                            const LinkTexts& link, bool rankByLink) {
  const TargetRequest request = ReadTargets(target, uart);
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  if (!baudGbk || !request.problem.empty()) {
    return "[]";
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  std::vector<FinderCrystal> rows;
  std::vector<LinkAnswer> links;
  for (const std::string_view crystal : CrystalPresets()) {
    FinderCrystal& row = rows.emplace_back(FinderCrystal{crystal, ReadTargetInputs(crystal, *baudGbk), {}});
    if (row.inputs) {
      row.family = SolveTargets(request.targets, *row.inputs);
    }
    links.push_back(question.asked && row.inputs ? BestLink(question, Best(row.family), *row.inputs)
                                                 : AnswerLink(question, {}, 0));
  }
  JsonWriter json;
  json.BeginArray();
  for (const std::size_t index : FinderOrder(links, rankByLink)) {
    WriteFinderRow(json, rows.at(index), question, links.at(index));
  }
  json.EndArray();
  return json.Text();
}

std::optional<std::string> TargetCodeBytes(std::u16string_view crystal, std::u16string_view baud,
                                           std::u16string_view target, std::u16string_view uart, CodeEncoding encoding,
                                           bool lineFeedsOnly, Language language, const LinkTexts& link) {
  const TargetRequest request = ReadRequest(crystal, baud, target, uart);
  if (!request.inputs) {
    return std::nullopt;
  }
  const answers::TargetAnswer answer = AnswerRequest(request, ReadLinkQuestion(link), language);
  if (answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return EncodeGeneratedCode(answer.code.text, encoding, lineFeedsOnly);
}

std::optional<std::string> TargetAsmBytes(std::u16string_view crystal, std::u16string_view baud,
                                          std::u16string_view target, std::u16string_view uart, AsmSyntax syntax,
                                          CodeEncoding encoding, bool lineFeedsOnly, Language language,
                                          const LinkTexts& link) {
  const TargetRequest request = ReadRequest(crystal, baud, target, uart);
  if (!request.inputs) {
    return std::nullopt;
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  const answers::TargetAnswer answer = AnswerRequest(request, question, language);
  const std::optional<std::string> text =
      answers::AnswerAsm(answer, *request.inputs,
                         {CodeUartMode(question), CodeSerialFrame(question), language, kCodeTolerancePercent}, syntax);
  return text ? EncodeGeneratedCode(*text, encoding, lineFeedsOnly) : std::nullopt;
}

std::optional<TargetCodeRequest> TargetDriverRequest(std::u16string_view crystal, std::u16string_view baud,
                                                     std::u16string_view target, std::u16string_view uart,
                                                     const LinkTexts& link, Language language) {
  const TargetRequest request = ReadRequest(crystal, baud, target, uart);
  if (!request.inputs) {
    return std::nullopt;
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  const answers::TargetAnswer answer = AnswerRequest(request, question, language);
  if (answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return answers::BestCodeRequest(answer, *request.inputs,
                                  {CodeUartMode(question), CodeSerialFrame(question), language, kCodeTolerancePercent});
}

}  // namespace tesmirol::web
