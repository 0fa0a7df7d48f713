#include "answers/plan_json.h"

#include <algorithm>
#include <string>

#include "answers/target_json.h"
#include "engine/link_peer.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

bool IsUtf8Able(std::string_view gbk) { return text::GbkToUtf8(gbk).has_value(); }

// Every text the document carries converts to UTF-8.
bool TextsConvert(const PlanDocument& document) {
  const auto request = [](const UartRequest& asked) { return IsUtf8Able(asked.baudText); };
  const auto peer = [](const PlanUartLink& link) {
    return !link.question.asked ||
           IsUtf8Able(link.link.problem.empty() ? PeerName(link.question.ask.peer) : link.question.peerText);
  };
  return IsUtf8Able(document.crystal->crystalText) && IsUtf8Able(document.code->text) &&
         std::all_of(document.requests.begin(), document.requests.end(), request) &&
         std::all_of(document.links.begin(), document.links.end(), peer);
}

}  // namespace

void WritePlanConflict(JsonWriter& json, const PlanConflict& conflict, std::span<const UartRequest> requests,
                       std::string_view message) {
  json.BeginObject();
  json.StringMember("kind", PlanConflictKindName(conflict.kind));
  json.Key("uarts");
  json.BeginArray();
  for (const std::size_t index : conflict.requests) {
    json.String(requests[index].uart);
  }
  json.EndArray();
  json.Key("bauds");
  json.BeginArray();
  for (const std::size_t index : conflict.requests) {
    json.Int(requests[index].baud);
  }
  json.EndArray();
  json.Key("timer");
  if (conflict.timer.empty()) {
    json.Null();
  } else {
    json.String(conflict.timer);
  }
  json.StringMember("message", message);
  json.EndObject();
}

void WritePlanEntries(JsonWriter& json, const PlanResult& result, std::span<const PlanUartLink> links) {
  if (!result.plan) {
    json.Null();
    return;
  }
  json.BeginArray();
  for (std::size_t index = 0; index < result.plan->uarts.size(); ++index) {
    WritePlanEntry(json, *result.plan, index, index < links.size() ? &links[index] : nullptr);
  }
  json.EndArray();
}

bool WritePlanMembers(JsonWriter& json, const PlanDocument& document) {
  if (!TextsConvert(document)) {
    return false;
  }
  json.StringMember("target", document.target);
  WriteCrystalMembers(json, *document.crystal);
  json.DoubleMember("tolerance", document.tolerancePercent);
  json.Key("uarts");
  json.BeginArray();
  for (const UartRequest& request : document.requests) {
    json.BeginObject();
    json.StringMember("uart", request.uart);
    json.IntMember("baud", request.baud);
    json.StringMember("baudText", text::GbkToUtf8(request.baudText).value_or(std::string()));
    json.EndObject();
  }
  json.EndArray();
  const PlanResult& result = *document.result;
  json.Key("plan");
  WritePlanEntries(json, result, document.links);
  json.Key("conflict");
  if (result.conflict) {
    WritePlanConflict(json, *result.conflict, document.requests, document.conflictMessage);
  } else {
    json.Null();
  }
  json.StringMember("outcome", GenerationOutcomeName(document.code->outcome));
  json.StringMember("output", text::GbkToUtf8(document.code->text).value_or(std::string()));
  if (FrameUartModeOf(document.frame) == FrameUartMode::Mode3) {
    json.StringMember("frame", SerialFrameName(document.frame));
  }
  if (!document.part.empty()) {
    json.StringMember("part", document.part);
  }
  return true;
}

}  // namespace tesmirol::answers
