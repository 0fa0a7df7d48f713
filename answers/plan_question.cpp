#include "answers/plan_question.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "answers/setting_json.h"
#include "answers/target_json.h"
#include "codegen/uart_plan_code.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// Reads one request into question.requests, or sets the problem.
void ReadPlanRequest(PlanQuestion& question, const PlanRequestTexts& texts, std::string_view crystalGbk,
                     const LinkTexts& link) {
  const std::size_t index = question.requests.size();
  const std::optional<std::string> uart = texts.uart ? CanonicalUartName(*texts.uart) : std::nullopt;
  const std::optional<TargetInputs> inputs = texts.baud ? ReadTargetInputs(crystalGbk, *texts.baud) : std::nullopt;
  const bool twice = uart && std::any_of(question.requests.begin(), question.requests.end(),
                                         [&uart](const UartRequest& earlier) { return earlier.uart == *uart; });
  if (!uart) {
    question.problem = "unknownUart";
  } else if (twice) {
    question.problem = "uartTwice";
  } else if (!texts.baud) {
    question.problem = "baudNotGbk";
  } else if (!inputs) {
    question.problem = "rateNoResult";
  } else {
    question.requests.push_back({*uart, inputs->baud, inputs->baudText});
    // The UART's own other end where it names one, as tesmirol-cli --peer UART=PEER asks.
    LinkTexts own = link;
    if (texts.ownPeer) {
      own.asked = true;
      own.peer = texts.peer;
    }
    question.links.push_back(ReadLinkQuestion(own));
    return;
  }
  question.problemRequest = index;
}

// The link question of the request for the UART ("UART2").
const LinkQuestion* LinkOfUart(const PlanQuestion& question, std::string_view uart) {
  for (std::size_t index = 0; index < question.requests.size(); ++index) {
    if (question.requests[index].uart == uart) {
      return &question.links.at(index);
    }
  }
  return nullptr;
}

void WriteIndices(JsonWriter& json, const std::vector<std::size_t>& indices) {
  json.BeginArray();
  for (const std::size_t index : indices) {
    json.Int(static_cast<std::int64_t>(index));
  }
  json.EndArray();
}

void WritePlannedUart(JsonWriter& json, const PlannedUart& planned, const LinkQuestion& question,
                      const QuestionLink& link) {
  const BaudTarget& target = *planned.target;
  json.BeginObject();
  json.StringMember("uart", planned.request.uart);
  json.IntMember("baud", planned.request.baud);
  json.StringMember("baudText", text::GbkToUtf8(planned.request.baudText).value_or(std::string()));
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
  WriteQuestionLink(json, question, link);
  json.EndObject();
}

void WritePlan(JsonWriter& json, const PlanQuestion& question, const PlanAnswer& answer) {
  const UartPlan& plan = *answer.result.plan;
  json.BeginObject();
  json.Key("uarts");
  json.BeginArray();
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    const PlannedUart& planned = plan.uarts.at(index);
    const LinkQuestion* found = LinkOfUart(question, planned.request.uart);
    const LinkQuestion link = found != nullptr ? *found : LinkQuestion{};
    WritePlannedUart(json, planned, link, LinkOfAnswer(link, answer.links.at(index), planned.request.baud));
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

PlanQuestion ReadPlanQuestion(const PlanTexts& texts, const LinkTexts& link) {
  PlanQuestion question;
  question.choice = ReadChipChoice(texts.target.value_or(std::string()));
  if (!texts.target || question.choice.chipTargets.empty()) {
    question.problem = "unknownTarget";
    return question;
  }
  if (!texts.crystal) {
    question.problem = "crystalNotGbk";
    return question;
  }
  // Any rate above 0 reads the crystal alone; each request brings its own.
  question.crystal = ReadTargetInputs(*texts.crystal, "1");
  if (!question.crystal) {
    question.problem = "noResult";
    return question;
  }
  for (const PlanRequestTexts& request : texts.requests) {
    ReadPlanRequest(question, request, *texts.crystal, link);
    if (!question.problem.empty()) {
      return question;
    }
  }
  return question;
}

PlanQuestionAnswer AnswerPlanQuestion(PlanQuestion question, Language language) {
  PlanQuestionAnswer reply{std::move(question), std::nullopt};
  const PlanQuestion& asked = reply.question;
  if (!asked.problem.empty()) {
    return reply;
  }
  const auto frame = std::find_if(asked.links.begin(), asked.links.end(),
                                  [](const LinkQuestion& link) { return link.Ask() != nullptr; });
  const TargetCodeStyle style = CodeStyleOf(frame == asked.links.end() ? LinkQuestion{} : *frame, language);
  std::vector<UartLinkAsk> links;
  for (std::size_t index = 0; index < asked.requests.size(); ++index) {
    if (const LinkAsk* ask = asked.links.at(index).Ask()) {
      links.push_back({asked.requests[index].uart, *ask});
    }
  }
  reply.answer =
      AnswerPlan(asked.choice.chipTargets, *asked.crystal, asked.requests, kPlanTolerancePercent, style, links);
  return reply;
}

void WritePlanQuestion(JsonWriter& json, const PlanQuestionAnswer& answer) {
  const PlanQuestion& question = answer.question;
  json.BeginObject();
  json.Key("status");
  if (!answer.answer) {
    json.String(question.problem);
    if (question.problemRequest) {
      json.IntMember("request", static_cast<std::int64_t>(*question.problemRequest));
    }
    json.EndObject();
    return;
  }
  const PlanResult& result = answer.answer->result;
  json.String("ok");
  WriteCrystalMembers(json, *question.crystal);
  json.Key("plan");
  if (result.plan) {
    WritePlan(json, question, *answer.answer);
  } else {
    json.Null();
  }
  json.Key("conflict");
  if (result.conflict) {
    WriteConflict(json, *result.conflict);
  } else {
    json.Null();
  }
  const GeneratedInitCode& code = answer.answer->code;
  json.StringMember("outcome", GenerationOutcomeName(code.outcome));
  json.StringMember("output", text::GbkToUtf8(code.text).value_or(std::string()));
  json.EndObject();
}

}  // namespace tesmirol::answers
