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
    json.IntMember("clockIndex", mode.clockIndex);
    json.IntMember("clocksPerCycle", ClocksPerCycle(*solution.target, mode.clockIndex));
    if (json.ForPage()) {
      json.StringMember("clockText", ClockChoiceText(*solution.target, mode.clockIndex));
    }
    json.IntMember("smod", mode.smod);
    json.StringMember("status", TargetStatusName(mode.status));
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

// The crystal as the exact solver read it: crystalHz ({numerator,
// denominator}), and for the page its text.
void WriteCrystalHz(JsonWriter& json, const TargetInputs& inputs) {
  json.Key("crystalHz");
  json.BeginObject();
  json.CountMember("numerator", inputs.frequency.numerator);
  json.CountMember("denominator", inputs.frequency.denominator);
  json.EndObject();
  if (json.ForPage()) {
    json.StringMember("crystalHzText", FractionText(inputs.frequency.numerator, inputs.frequency.denominator));
  }
}

}  // namespace

void WriteSolution(JsonWriter& json, const TargetSolution& solution) {
  const BaudTarget& target = *solution.target;
  json.BeginObject();
  json.StringMember("target", target.name);
  if (json.ForPage()) {
    json.StringMember("uart", target.uart);
    json.StringMember("timer", target.timer);
    json.StringMember("function", target.function);
    json.StringMember("minRateText", DecimalText(solution.minRate));
    json.StringMember("maxRateText", DecimalText(solution.maxRate));
  }
  json.StringMember("status", TargetStatusName(solution.status));
  json.DoubleMember("minRate", solution.minRate);
  json.DoubleMember("maxRate", solution.maxRate);
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
  json.StringMember("crystalText", text::GbkToUtf8(inputs.crystalText).value_or(std::string()));
  WriteCrystalHz(json, inputs);
}

bool WriteTargetMembers(JsonWriter& json, std::string_view targetName, const FamilySolution& family,
                        const TargetInputs& inputs, const GeneratedInitCode& code) {
  const std::optional<std::string> baudText = text::GbkToUtf8(inputs.baudText);
  const std::optional<std::string> output = text::GbkToUtf8(code.text);
  if (!text::GbkToUtf8(inputs.crystalText) || !baudText || !output) {
    return false;
  }
  json.StringMember("target", targetName);
  json.StringMember("crystalText", text::GbkToUtf8(inputs.crystalText).value_or(std::string()));
  json.StringMember("baudText", *baudText);
  json.IntMember("baud", inputs.baud);
  WriteCrystalHz(json, inputs);
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
    json.IntMember("shown", static_cast<std::int64_t>(family.best.value_or(0)));
    json.StringMember("function", family.solutions.front().target->function);
  }
  json.StringMember("outcome", GenerationOutcomeName(code.outcome));
  json.StringMember("output", *output);
  return true;
}

}  // namespace tesmirol::answers
