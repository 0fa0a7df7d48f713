#include "answers/target_json.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "answers/setting_json.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// P, the oscillator periods per timer count, of one clock choice.
std::uint32_t ClocksPerCycle(const BaudTarget& target, std::uint32_t clockIndex) {
  return clockIndex < target.clocks.size() ? target.clocks[clockIndex].clocksPerCycle : target.clocksPerCycle;
}

void WriteModes(JsonWriter& json, const TargetSolution& solution) {
  json.BeginArray();
  for (std::size_t index = 0; index < solution.modeCount; ++index) {
    const TargetModeResult& mode = solution.modes.at(index);
    json.BeginObject();
    json.Key("clockIndex");
    json.Int(mode.clockIndex);
    json.Key("clocksPerCycle");
    json.Int(ClocksPerCycle(*solution.target, mode.clockIndex));
    if (json.ForPage()) {
      json.Key("clockText");
      json.String(ClockChoiceText(*solution.target, mode.clockIndex));
    }
    json.Key("smod");
    json.Int(mode.smod);
    json.Key("status");
    json.String(TargetStatusName(mode.status));
    json.Key("tried");
    json.BeginArray();
    for (std::size_t i = 0; i < mode.triedCount; ++i) {
      WriteSetting(json, *solution.target, mode.tried.at(i));
    }
    json.EndArray();
    json.Key("bestTried");
    if (mode.triedCount > 0) {
      json.Int(static_cast<std::int64_t>(mode.bestTried));
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

void WriteSolution(JsonWriter& json, const TargetSolution& solution) {
  const BaudTarget& target = *solution.target;
  json.BeginObject();
  json.Key("target");
  json.String(target.name);
  if (json.ForPage()) {
    json.Key("uart");
    json.String(target.uart);
    json.Key("timer");
    json.String(target.timer);
    json.Key("function");
    json.String(target.function);
    json.Key("minRateText");
    json.String(DecimalText(solution.minRate));
    json.Key("maxRateText");
    json.String(DecimalText(solution.maxRate));
  }
  json.Key("status");
  json.String(TargetStatusName(solution.status));
  json.Key("minRate");
  json.Double(solution.minRate);
  json.Key("maxRate");
  json.Double(solution.maxRate);
  json.Key("modes");
  WriteModes(json, solution);
  json.Key("best");
  if (solution.status == TargetStatus::Ok) {
    WriteSetting(json, target, solution.best);
  } else {
    json.Null();
  }
  json.EndObject();
}

void WriteCrystalMembers(JsonWriter& json, const TargetInputs& inputs) {
  json.Key("crystalText");
  json.String(text::GbkToUtf8(inputs.crystalText).value_or(std::string()));
  json.Key("crystalHz");
  json.BeginObject();
  json.Key("numerator");
  json.Count(inputs.frequency.numerator);
  json.Key("denominator");
  json.Count(inputs.frequency.denominator);
  json.EndObject();
  if (json.ForPage()) {
    json.Key("crystalHzText");
    json.String(FractionText(inputs.frequency.numerator, inputs.frequency.denominator));
  }
}

bool WriteTargetMembers(JsonWriter& json, std::string_view targetName, const FamilySolution& family,
                        const TargetInputs& inputs, const GeneratedInitCode& code) {
  const std::optional<std::string> baudText = text::GbkToUtf8(inputs.baudText);
  const std::optional<std::string> output = text::GbkToUtf8(code.text);
  if (!text::GbkToUtf8(inputs.crystalText) || !baudText || !output) {
    return false;
  }
  json.Key("target");
  json.String(targetName);
  WriteCrystalMembers(json, inputs);
  json.Key("baudText");
  json.String(*baudText);
  json.Key("baud");
  json.Int(inputs.baud);
  json.Key("solutions");
  json.BeginArray();
  for (const TargetSolution& solution : family.solutions) {
    WriteSolution(json, solution);
  }
  json.EndArray();
  json.Key("bestTarget");
  if (family.best) {
    json.String(family.solutions.at(*family.best).target->name);
  } else {
    json.Null();
  }
  if (json.ForPage()) {
    json.Key("shown");
    json.Int(static_cast<std::int64_t>(family.best.value_or(0)));
    json.Key("function");
    json.String(family.solutions.front().target->function);
  }
  json.Key("outcome");
  json.String(GenerationOutcomeName(code.outcome));
  json.Key("output");
  json.String(*output);
  return true;
}

}  // namespace tesmirol::answers
