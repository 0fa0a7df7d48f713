#include "web/bridge/plan_answers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "answers/plan_answer.h"
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

// The link question of the request for the UART ("UART2").
const LinkQuestion* QuestionOfUart(const PlanQuestion& question, const std::vector<LinkQuestion>& questions,
                                   std::string_view uart) {
  for (std::size_t index = 0; index < question.requests.size() && index < questions.size(); ++index) {
    if (question.requests[index].uart == uart) {
      return &questions[index];
    }
  }
  return nullptr;
}

// Each request's link question, in the requests' order: the link's texts
// with the UART's own other end where its request names one, as
// tesmirol-cli --peer UART=PEER asks.
std::vector<LinkQuestion> RequestLinkQuestions(const PlanQuestion& question, const LinkTexts& link) {
  std::vector<LinkQuestion> questions;
  for (std::size_t index = 0; index < question.requests.size(); ++index) {
    LinkTexts texts = link;
    if (index < question.peers.size() && !question.peers[index].empty()) {
      texts.peer = question.peers[index];
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

// The plan and its links answered: the link questions by request, and
// the answer with its code in the links' UART mode and frame.
struct PlanReply {
  std::vector<LinkQuestion> questions;  // by request
  answers::PlanAnswer answer;
};

PlanReply AnswerPlanQuestion(const PlanQuestion& question, const LinkTexts& link, Language language) {
  PlanReply reply{RequestLinkQuestions(question, link), {}};
  const LinkQuestion* frame = FrameQuestion(reply.questions);
  const answers::TargetCodeStyle style{frame == nullptr ? UartMode::Mode1 : CodeUartMode(*frame),
                                       frame == nullptr ? SerialFrame{} : CodeSerialFrame(*frame), language,
                                       kCodeTolerancePercent};
  reply.answer =
      answers::AnswerPlan(question.choice.chipTargets, *question.crystal, question.requests, kPlanTolerancePercent,
                          style, [&](std::string_view uart) -> const answers::LinkAsk* {
                            const LinkQuestion* asked = QuestionOfUart(question, reply.questions, uart);
                            return asked != nullptr && asked->asked && asked->problem.empty() ? &asked->ask : nullptr;
                          });
  return reply;
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

void WritePlan(JsonWriter& json, const PlanQuestion& question, const PlanReply& reply) {
  const UartPlan& plan = *reply.answer.result.plan;
  json.BeginObject();
  json.Key("uarts");
  json.BeginArray();
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    const PlannedUart& planned = plan.uarts.at(index);
    const LinkQuestion* found = QuestionOfUart(question, reply.questions, planned.request.uart);
    const LinkQuestion linkQuestion = found != nullptr ? *found : LinkQuestion{};
    const std::optional<answers::LinkAnswer>& checked = reply.answer.links.at(index);
    const LinkAnswer link = checked ? LinkAnswer{"", *checked} : AnswerLink(linkQuestion, {}, planned.request.baud);
    WritePlannedUart(json, planned, linkQuestion, link);
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
  const PlanReply reply = AnswerPlanQuestion(question, link, language);
  const PlanResult& result = reply.answer.result;
  json.String("ok");
  WriteCrystalMembers(json, *question.crystal);
  json.Key("plan");
  if (result.plan) {
    WritePlan(json, question, reply);
  } else {
    json.Null();
  }
  json.Key("conflict");
  if (result.conflict) {
    WriteConflict(json, *result.conflict);
  } else {
    json.Null();
  }
  const GeneratedInitCode& code = reply.answer.code;
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
  const PlanReply reply = AnswerPlanQuestion(question, link, language);
  if (reply.answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return EncodeGeneratedCode(reply.answer.code.text, encoding, lineFeedsOnly);
}

std::optional<std::vector<TargetCodeRequest>> PlanDriverRequests(const PlanTexts& texts, const LinkTexts& link,
                                                                 Language language) {
  const PlanQuestion question = ReadPlanQuestion(texts);
  if (!question.problem.empty()) {
    return std::nullopt;
  }
  const PlanReply reply = AnswerPlanQuestion(question, link, language);
  if (reply.answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return reply.answer.requests;
}

}  // namespace tesmirol::web
