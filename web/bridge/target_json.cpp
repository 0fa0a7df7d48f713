#include "web/bridge/target_json.h"

#include <cstddef>
#include <cstdint>

#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::web {
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
    json.Key("clockText");
    json.String(ClockChoiceText(*solution.target, mode.clockIndex));
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

std::string Utf8(std::string_view gbk) { return text::GbkToUtf8(gbk).value_or(std::string()); }

void WriteSolution(JsonWriter& json, const TargetSolution& solution) {
  const BaudTarget& target = *solution.target;
  json.BeginObject();
  json.Key("target");
  json.String(target.name);
  json.Key("uart");
  json.String(target.uart);
  json.Key("timer");
  json.String(target.timer);
  json.Key("function");
  json.String(target.function);
  json.Key("status");
  json.String(TargetStatusName(solution.status));
  json.Key("minRate");
  json.DoubleBits(solution.minRate);
  json.Key("maxRate");
  json.DoubleBits(solution.maxRate);
  json.Key("minRateText");
  json.String(DecimalText(solution.minRate));
  json.Key("maxRateText");
  json.String(DecimalText(solution.maxRate));
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
  json.String(Utf8(inputs.crystalText));
  json.Key("crystalNumerator");
  json.String(std::to_string(inputs.frequency.numerator));
  json.Key("crystalDenominator");
  json.String(std::to_string(inputs.frequency.denominator));
  json.Key("crystalHzText");
  json.String(FractionText(inputs.frequency.numerator, inputs.frequency.denominator));
}

}  // namespace tesmirol::web
