#include "answers/plan_question.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "answers/plan_conflict_text.h"
#include "answers/plan_json.h"
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

// The link whose frame the code carries: the first UART's (every UART's
// link question reads the same frame, with or without another end).
LinkQuestion FrameLink(const PlanQuestion& question) {
  return question.links.empty() ? LinkQuestion{} : question.links.front();
}

}  // namespace

PlanQuestion ReadPlanQuestion(const PlanTexts& texts, const LinkTexts& link) {
  PlanQuestion question;
  question.target = texts.target.value_or(std::string());
  question.choice = ReadChipChoice(question.target);
  if (!texts.target || question.choice.chipTargets.empty()) {
    question.problem = "unknownTarget";
    return question;
  }
  if (!TargetsCarryCodeFrame(question.choice.chipTargets, ReadLinkQuestion(link))) {
    question.problem = "frameNotCarried";
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
  const TargetCodeStyle style = CodeStyleOf(FrameLink(asked), language);
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
  json.String("ok");
  const PlanResult& result = answer.answer->result;
  std::vector<PlanUartLink> links;
  if (result.plan) {
    for (std::size_t index = 0; index < result.plan->uarts.size(); ++index) {
      const PlannedUart& planned = result.plan->uarts[index];
      const LinkQuestion* found = LinkOfUart(question, planned.request.uart);
      const LinkQuestion link = found != nullptr ? *found : LinkQuestion{};
      links.push_back({link, LinkOfAnswer(link, answer.answer->links.at(index), planned.request.baud)});
    }
  }
  const std::string target = text::GbkToUtf8(question.target).value_or(std::string());
  const std::string message = result.conflict
                                  ? PlanConflictText(*result.conflict, question.requests, question.choice.chipTargets,
                                                     target, *question.crystal, kPlanToleranceText, Language::English)
                                  : std::string();
  // The user's texts came from UTF-16 and the code from the generator: they always convert back.
  static_cast<void>(WritePlanMembers(json, {.target = target,
                                            .part = {},
                                            .crystal = &*question.crystal,
                                            .requests = question.requests,
                                            .tolerancePercent = kPlanTolerancePercent,
                                            .result = &result,
                                            .conflictMessage = message,
                                            .code = &answer.answer->code,
                                            .frame = CodeSerialFrame(FrameLink(question)),
                                            .links = links}));
  json.EndObject();
}

}  // namespace tesmirol::answers
