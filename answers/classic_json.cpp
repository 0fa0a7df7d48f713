#include "answers/classic_json.h"

#include <cstddef>
#include <cstdint>

#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "text/encoding.h"

namespace tesmirol::answers {

void WriteClassicModes(JsonWriter& json, const BaudCalculation& calculation) {
  json.BeginArray();
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    const ModeResult& mode = calculation.mode.at(smod);
    json.BeginObject();
    json.IntMember("smod", static_cast<std::int64_t>(smod));
    json.IntMember("reload", mode.reload);
    if (json.ForPage()) {
      json.StringMember("reloadText", FormatReload(mode.reload));
    }
    json.IntMember("divisor", mode.divisor);
    json.IntMember("achieved", mode.achieved);
    json.DoubleMember("deviation", mode.deviation);
    json.DoubleMember("deviationAbs", mode.deviationAbs);
    json.StringMember("deviationText", FormatDeviation(mode.deviation));
    json.StringMember("status", ModeStatusName(mode.status));
    json.BoolMember("outOfTolerance", IsOutOfTolerance(mode));
    json.EndObject();
  }
  json.EndArray();
}

namespace {

void WriteOutcome(JsonWriter& json, const BaudCalculation& calculation, GenerationOutcome outcome) {
  json.StringMember("outcome", GenerationOutcomeName(outcome));
  if (json.ForPage()) {
    const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
    json.Key("chosenSmod");
    if (choice.outcome == GenerationOutcome::Code) {
      json.Int(static_cast<std::int64_t>(choice.smod));
    } else {
      json.Null();
    }
  }
}

}  // namespace

void WriteCodeChoice(JsonWriter& json, const BaudCalculation& calculation) {
  WriteOutcome(json, calculation, ChooseInitCodeSetting(calculation).outcome);
}

bool WriteClassicMembers(JsonWriter& json, const BaudCalculation& calculation, const GeneratedInitCode& generated) {
  const std::optional<std::string> crystalText = text::GbkToUtf8(calculation.crystalText);
  const std::optional<std::string> baudText = text::GbkToUtf8(calculation.baudText);
  const std::optional<std::string> output = text::GbkToUtf8(generated.text);
  if (!crystalText || !baudText || !output) {
    return false;
  }
  json.StringMember("crystalText", *crystalText);
  json.StringMember("baudText", *baudText);
  json.IntMember("baud", calculation.baud);
  json.DoubleMember("frequency", static_cast<double>(calculation.frequency));
  json.IntMember("crystalHz", calculation.crystalHz);
  json.IntMember("minBps", calculation.minBps);
  json.IntMember("maxBps", calculation.maxBps);
  json.Key("modes");
  WriteClassicModes(json, calculation);
  WriteOutcome(json, calculation, generated.outcome);
  json.StringMember("output", *output);
  return true;
}

}  // namespace tesmirol::answers
