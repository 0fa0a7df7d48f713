#include "answers/setting_json.h"

#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {

void WriteSetting(JsonWriter& json, const BaudTarget& target, const TargetSetting& setting) {
  json.BeginObject();
  json.Key("clockIndex");
  json.Int(setting.clockIndex);
  json.Key("clocksPerCycle");
  json.Int(setting.clocksPerCycle);
  json.Key("select");
  json.Int(setting.clockIndex < target.clocks.size() ? target.clocks[setting.clockIndex].select : 0U);
  json.Key("smod");
  json.Int(setting.smod);
  json.Key("reload");
  json.Int(setting.reload);
  json.Key("reloadText");
  json.String(TargetReloadText(target, setting.reload));
  json.Key("registers");
  json.BeginObject();
  if (target.reloadRegisters.size() > 1) {
    json.Key(target.reloadRegisters[0]);
    json.Int(setting.reloadHigh);
    json.Key(target.reloadRegisters[1]);
    json.Int(setting.reloadLow);
  } else {
    json.Key(ReloadRegisterLabel(target));
    json.Int(setting.reloadLow);
  }
  json.EndObject();
  json.Key("divisor");
  json.Count(setting.divisor);
  json.Key("achievedNumerator");
  json.Count(setting.achievedNumerator);
  json.Key("achievedDenominator");
  json.Count(setting.achievedDenominator);
  json.Key("achieved");
  json.Double(setting.achieved);
  json.Key("deviation");
  json.Double(setting.deviation);
  json.Key("deviationText");
  json.String(FormatDeviation(setting.deviation));
  json.Key("outOfTolerance");
  json.Bool(!IsWithinTolerance(setting));
  if (json.ForPage()) {
    json.Key("clockText");
    json.String(ClockChoiceText(target, setting.clockIndex));
    json.Key("reloadLabel");
    json.String(ReloadRegisterLabel(target));
    json.Key("registersText");
    json.String(RegisterBytesText(target, setting));
    json.Key("achievedText");
    json.String(FractionText(setting.achievedNumerator, setting.achievedDenominator));
    json.Key("achievedDecimalText");
    json.String(DecimalText(setting.achieved));
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
