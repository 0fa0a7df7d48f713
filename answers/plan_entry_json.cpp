#include "answers/plan_entry_json.h"

#include <string>

#include "answers/plan_reason_text.h"
#include "answers/setting_json.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {

void WritePlanEntry(JsonWriter& json, const UartPlan& plan, std::size_t index) {
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
  json.EndObject();
}

}  // namespace tesmirol::answers
