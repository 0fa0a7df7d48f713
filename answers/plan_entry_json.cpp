#include "answers/plan_entry_json.h"

#include <string>

#include "answers/plan_reason_text.h"
#include "answers/setting_json.h"
#include "engine/link_peer.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The other end's name as the link writes it; null when none is asked about.
void WritePeer(JsonWriter& json, const PlanUartLink& link) {
  if (!link.question.asked) {
    json.Null();
  } else if (link.link.problem.empty()) {
    json.String(text::GbkToUtf8(PeerName(link.question.ask.peer)).value_or(std::string()));
  } else {
    json.String(text::GbkToUtf8(link.question.peerText).value_or(std::string()));
  }
}

}  // namespace

void WritePlanEntry(JsonWriter& json, const UartPlan& plan, std::size_t index, const PlanUartLink* link) {
  const PlannedUart& planned = plan.uarts.at(index);
  const BaudTarget& target = *planned.target;
  json.BeginObject();
  json.StringMember("uart", planned.request.uart);
  json.IntMember("baud", planned.request.baud);
  json.StringMember("baudText", text::GbkToUtf8(planned.request.baudText).value_or(std::string()));
  json.StringMember("target", target.name);
  json.StringMember("generator", GeneratorKindName(target.generator));
  json.StringMember("function", target.function);
  json.StringMember("timer", target.timer);
  json.StringMember("clock", ClockChoiceText(target, planned.setting.clockIndex));
  json.Key("setting");
  WriteSetting(json, target, planned.setting);
  json.StringMember("reason", PlanReasonName(planned.reason));
  json.StringMember("why", PlanReasonText(plan, index, Language::English));
  json.IntMember("generatorCount", static_cast<std::int64_t>(planned.generatorCount));
  json.Key("sharedWith");
  json.BeginArray();
  for (const std::size_t shared : planned.sharedWith) {
    json.String(plan.uarts.at(shared).request.uart);
  }
  json.EndArray();
  json.Key("bestAlone");
  if (planned.bestAlone != nullptr) {
    json.String(planned.bestAlone->name);
  } else {
    json.Null();
  }
  json.Key("takenBy");
  if (planned.takenBy) {
    json.String(plan.uarts.at(*planned.takenBy).request.uart);
  } else {
    json.Null();
  }
  if (link != nullptr) {
    json.Key("peer");
    WritePeer(json, *link);
    json.Key("link");
    WriteQuestionLink(json, link->question, link->link);
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
