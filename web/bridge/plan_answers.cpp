#include "web/bridge/plan_answers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "codegen/init_code_generator.h"
#include "codegen/uart_plan_code.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"
#include "text/encoding.h"
#include "web/bridge/chip_choice.h"
#include "web/bridge/link_answers.h"
#include "web/bridge/target_json.h"

namespace tesmirol::web {
namespace {

// Every UART of a plan within the dialog's tolerance, the one its code is
// written for.
constexpr double kPlanTolerancePercent = 1.0;

// The texts read: the chip's targets, the crystal and the requests, or the
// status (and the request) that says what is wrong.
struct PlanQuestion {
  std::string_view problem;  // empty when everything was read
  std::optional<std::size_t> problemRequest;
  ChipChoice choice;
  std::optional<TargetInputs> crystal;
  std::vector<UartRequest> requests;
  std::vector<std::u16string_view> peers;  // each request's own other end, "" for the link's
};

// Reads one request into question.requests, or sets the problem.
void ReadPlanRequest(PlanQuestion& question, const PlanRequestTexts& texts, std::string_view crystalGbk) {
  const std::size_t index = question.requests.size();
  const std::optional<std::string> uartGbk = text::Utf16ToGbk(texts.uart);
  const std::optional<std::string> uart = uartGbk ? CanonicalUartName(*uartGbk) : std::nullopt;
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(texts.baud);
  const std::optional<TargetInputs> inputs = baudGbk ? ReadTargetInputs(crystalGbk, *baudGbk) : std::nullopt;
  const bool twice = uart && std::any_of(question.requests.begin(), question.requests.end(),
                                         [&uart](const UartRequest& earlier) { return earlier.uart == *uart; });
  if (!uart) {
    question.problem = "unknownUart";
  } else if (twice) {
    question.problem = "uartTwice";
  } else if (!baudGbk) {
    question.problem = "baudNotGbk";
  } else if (!inputs) {
    question.problem = "rateNoResult";
  } else {
    question.requests.push_back({*uart, inputs->baud, inputs->baudText});
    question.peers.push_back(texts.peer);
    return;
  }
  question.problemRequest = index;
}

PlanQuestion ReadPlanQuestion(const PlanTexts& texts) {
  PlanQuestion question;
  const std::optional<std::string> nameGbk = text::Utf16ToGbk(texts.target);
  const std::optional<std::string> crystalGbk = text::Utf16ToGbk(texts.crystal);
  question.choice = ReadChipChoice(nameGbk.value_or(std::string()));
  if (!nameGbk || question.choice.chipTargets.empty()) {
    question.problem = "unknownTarget";
    return question;
  }
  if (!crystalGbk) {
    question.problem = "crystalNotGbk";
    return question;
  }
  // Any rate above 0 reads the crystal alone; each request brings its own.
  question.crystal = ReadTargetInputs(*crystalGbk, "1");
  if (!question.crystal) {
    question.problem = "noResult";
    return question;
  }
  for (const PlanRequestTexts& request : texts.requests) {
    ReadPlanRequest(question, request, *crystalGbk);
    if (!question.problem.empty()) {
      return question;
    }
  }
  return question;
}

void WriteIndices(JsonWriter& json, const std::vector<std::size_t>& indices) {
  json.BeginArray();
  for (const std::size_t index : indices) {
    json.Int(static_cast<std::int64_t>(index));
  }
  json.EndArray();
}

// Each planned UART's link question, in the plan's order: the link's texts
// with the UART's own other end where its request names one, as
// tesmirol-cli --peer UART=PEER asks.
std::vector<LinkQuestion> PlanLinkQuestions(const PlanQuestion& question, const UartPlan& plan, const LinkTexts& link) {
  std::vector<LinkQuestion> questions;
  for (const PlannedUart& planned : plan.uarts) {
    LinkTexts texts = link;
    for (std::size_t index = 0; index < question.requests.size() && index < question.peers.size(); ++index) {
      if (question.requests[index].uart == planned.request.uart && !question.peers[index].empty()) {
        texts.peer = question.peers[index];
      }
    }
    questions.push_back(ReadLinkQuestion(texts));
  }
  return questions;
}

// The first UART's link that was asked about and read: its frame (every
// UART's link has the same) is the one the plan's code carries; none when
// no UART's link is asked about.
const LinkQuestion* FrameQuestion(const std::vector<LinkQuestion>& questions) {
  const auto read = std::find_if(questions.begin(), questions.end(), [](const LinkQuestion& question) {
    return question.asked && question.problem.empty();
  });
  return read == questions.end() ? nullptr : &*read;
}

// The UART mode of the plan's code: the frame's, mode 1 without a link.
UartMode PlanUartMode(const std::vector<LinkQuestion>& questions) {
  const LinkQuestion* read = FrameQuestion(questions);
  return read == nullptr ? UartMode::Mode1 : CodeUartMode(*read);
}

// The frame the plan's code carries, 8N1 without a link.
SerialFrame PlanSerialFrame(const std::vector<LinkQuestion>& questions) {
  const LinkQuestion* read = FrameQuestion(questions);
  return read == nullptr ? SerialFrame{} : CodeSerialFrame(*read);
}

// Each planned UART's link, in the plan's order.
std::vector<LinkAnswer> PlanLinks(const std::vector<LinkQuestion>& questions, const UartPlan& plan) {
  std::vector<LinkAnswer> links;
  for (std::size_t index = 0; index < plan.uarts.size() && index < questions.size(); ++index) {
    const PlannedUart& planned = plan.uarts[index];
    links.push_back(AnswerLink(questions[index], answers::SettingOwnRate(&planned.setting), planned.request.baud));
  }
  return links;
}

// The plan's code (or warning) in the language, in the link's UART mode,
// each UART's function header carrying its link's note, as tesmirol-cli
// --uart ... --peer writes it.
GeneratedInitCode PlanCode(const UartPlan& plan, const TargetInputs& crystal,
                           const std::vector<LinkQuestion>& questions, const std::vector<LinkAnswer>& links,
                           Language language) {
  const UartMode uartMode = PlanUartMode(questions);
  const SerialFrame frame = PlanSerialFrame(questions);
  GeneratedInitCode code = GeneratePlanCode(plan, crystal, uartMode, language, {}, frame);
  const bool asked =
      std::any_of(questions.begin(), questions.end(), [](const LinkQuestion& question) { return question.asked; });
  if (code.outcome != GenerationOutcome::Code || !asked) {
    return code;
  }
  std::vector<TargetCodeRequest> requests = PlanCodeRequests(plan, crystal, uartMode, frame);
  for (std::size_t index = 0; index < requests.size() && index < links.size(); ++index) {
    for (std::string& note : LinkNotes(questions.at(index), links.at(index), language)) {
      requests.at(index).notes.push_back(std::move(note));
    }
  }
  code.text = GeneratePlanInitCode(requests, language);
  return code;
}

void WritePlannedUart(JsonWriter& json, const PlannedUart& planned, const LinkQuestion& question,
                      const LinkAnswer& link) {
  const BaudTarget& target = *planned.target;
  json.BeginObject();
  json.StringMember("uart", planned.request.uart);
  json.IntMember("baud", planned.request.baud);
  json.StringMember("baudText", Utf8(planned.request.baudText));
  json.StringMember("target", target.name);
  json.StringMember("timer", target.timer);
  json.StringMember("function", target.function);
  json.Key("setting");
  WriteSetting(json, target, planned.setting);
  json.StringMember("reason", PlanReasonName(planned.reason));
  json.IntMember("generatorCount", static_cast<std::int64_t>(planned.generatorCount));
  json.Key("sharedWith");
  WriteIndices(json, planned.sharedWith);
  json.StringMember("bestAlone", planned.bestAlone != nullptr ? planned.bestAlone->name : std::string());
  json.StringMember("bestAloneTimer", planned.bestAlone != nullptr ? planned.bestAlone->timer : std::string());
  json.Key("takenBy");
  if (planned.takenBy) {
    json.Int(static_cast<std::int64_t>(*planned.takenBy));
  } else {
    json.Null();
  }
  json.Key("link");
  WriteLink(json, question, link);
  json.EndObject();
}

void WritePlan(JsonWriter& json, const UartPlan& plan, const std::vector<LinkQuestion>& questions,
               const std::vector<LinkAnswer>& links) {
  json.BeginObject();
  json.Key("uarts");
  json.BeginArray();
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    WritePlannedUart(json, plan.uarts.at(index), questions.at(index), links.at(index));
  }
  json.EndArray();
  json.IntMember("worst", static_cast<std::int64_t>(plan.worst));
  json.EndObject();
}

void WriteConflict(JsonWriter& json, const PlanConflict& conflict) {
  json.BeginObject();
  json.StringMember("kind", PlanConflictKindName(conflict.kind));
  json.Key("requests");
  WriteIndices(json, conflict.requests);
  json.StringMember("timer", conflict.timer);
  json.EndObject();
}

}  // namespace

std::string PlanJson(const PlanTexts& texts, Language language, const LinkTexts& link) {
  const PlanQuestion question = ReadPlanQuestion(texts);
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  if (!question.problem.empty()) {
    json.String(question.problem);
    if (question.problemRequest) {
      json.IntMember("request", static_cast<std::int64_t>(*question.problemRequest));
    }
    json.EndObject();
    return json.Text();
  }
  const PlanResult result =
      PlanUarts(question.choice.chipTargets, *question.crystal, question.requests, kPlanTolerancePercent);
  const std::vector<LinkQuestion> linkQuestions =
      result.plan ? PlanLinkQuestions(question, *result.plan, link) : std::vector<LinkQuestion>();
  const std::vector<LinkAnswer> links =
      result.plan ? PlanLinks(linkQuestions, *result.plan) : std::vector<LinkAnswer>();
  json.String("ok");
  WriteCrystalMembers(json, *question.crystal);
  json.Key("plan");
  if (result.plan) {
    WritePlan(json, *result.plan, linkQuestions, links);
  } else {
    json.Null();
  }
  json.Key("conflict");
  if (result.conflict) {
    WriteConflict(json, *result.conflict);
  } else {
    json.Null();
  }
  const GeneratedInitCode code =
      result.plan ? PlanCode(*result.plan, *question.crystal, linkQuestions, links, language) : GeneratedInitCode{};
  json.StringMember("outcome", GenerationOutcomeName(code.outcome));
  json.StringMember("output", Utf8(code.text));
  json.EndObject();
  return json.Text();
}

std::optional<std::string> PlanCodeBytes(const PlanTexts& texts, CodeEncoding encoding, bool lineFeedsOnly,
                                         Language language, const LinkTexts& link) {
  const PlanQuestion question = ReadPlanQuestion(texts);
  if (!question.problem.empty()) {
    return std::nullopt;
  }
  const PlanResult result =
      PlanUarts(question.choice.chipTargets, *question.crystal, question.requests, kPlanTolerancePercent);
  if (!result.plan) {
    return std::nullopt;
  }
  const std::vector<LinkQuestion> linkQuestions = PlanLinkQuestions(question, *result.plan, link);
  const GeneratedInitCode code =
      PlanCode(*result.plan, *question.crystal, linkQuestions, PlanLinks(linkQuestions, *result.plan), language);
  if (code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return EncodeGeneratedCode(code.text, encoding, lineFeedsOnly);
}

std::optional<std::vector<TargetCodeRequest>> PlanDriverRequests(const PlanTexts& texts, const LinkTexts& link,
                                                                 Language language) {
  const PlanQuestion question = ReadPlanQuestion(texts);
  if (!question.problem.empty()) {
    return std::nullopt;
  }
  const PlanResult result =
      PlanUarts(question.choice.chipTargets, *question.crystal, question.requests, kPlanTolerancePercent);
  if (!result.plan ||
      GeneratePlanCode(*result.plan, *question.crystal, UartMode::Mode1).outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  const std::vector<LinkQuestion> linkQuestions = PlanLinkQuestions(question, *result.plan, link);
  const std::vector<LinkAnswer> links = PlanLinks(linkQuestions, *result.plan);
  std::vector<TargetCodeRequest> requests =
      PlanCodeRequests(*result.plan, *question.crystal, PlanUartMode(linkQuestions), PlanSerialFrame(linkQuestions));
  for (std::size_t index = 0; index < requests.size() && index < links.size(); ++index) {
    requests.at(index).notes = LinkNotes(linkQuestions.at(index), links.at(index), language);
  }
  return requests;
}

}  // namespace tesmirol::web
