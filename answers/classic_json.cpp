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
    json.Key("smod");
    json.Int(static_cast<std::int64_t>(smod));
    json.Key("reload");
    json.Int(mode.reload);
    if (json.ForPage()) {
      json.Key("reloadText");
      json.String(FormatReload(mode.reload));
    }
    json.Key("divisor");
    json.Int(mode.divisor);
    json.Key("achieved");
    json.Int(mode.achieved);
    json.Key("deviation");
    json.Double(mode.deviation);
    json.Key("deviationAbs");
    json.Double(mode.deviationAbs);
    json.Key("deviationText");
    json.String(FormatDeviation(mode.deviation));
    json.Key("status");
    json.String(ModeStatusName(mode.status));
    json.Key("outOfTolerance");
    json.Bool(IsOutOfTolerance(mode));
    json.EndObject();
  }
  json.EndArray();
}

namespace {

void WriteOutcome(JsonWriter& json, const BaudCalculation& calculation, GenerationOutcome outcome) {
  json.Key("outcome");
  json.String(GenerationOutcomeName(outcome));
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
  json.Key("crystalText");
  json.String(*crystalText);
  json.Key("baudText");
  json.String(*baudText);
  json.Key("baud");
  json.Int(calculation.baud);
  json.Key("frequency");
  json.Double(static_cast<double>(calculation.frequency));
  json.Key("crystalHz");
  json.Int(calculation.crystalHz);
  json.Key("minBps");
  json.Int(calculation.minBps);
  json.Key("maxBps");
  json.Int(calculation.maxBps);
  json.Key("modes");
  WriteClassicModes(json, calculation);
  WriteOutcome(json, calculation, generated.outcome);
  json.Key("output");
  json.String(*output);
  return true;
}

}  // namespace tesmirol::answers
