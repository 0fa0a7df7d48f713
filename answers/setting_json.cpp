#include "answers/setting_json.h"

#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {

void WriteSetting(JsonWriter& json, const BaudTarget& target, const TargetSetting& setting) {
  json.BeginObject();
  json.IntMember("clockIndex", setting.clockIndex);
  json.IntMember("clocksPerCycle", setting.clocksPerCycle);
  json.IntMember("select", setting.clockIndex < target.clocks.size() ? target.clocks[setting.clockIndex].select : 0U);
  json.IntMember("smod", setting.smod);
  json.IntMember("reload", setting.reload);
  json.StringMember("reloadText", TargetReloadText(target, setting.reload));
  json.Key("registers");
  json.BeginObject();
  if (target.reloadRegisters.size() > 1) {
    json.IntMember(target.reloadRegisters[0], setting.reloadHigh);
    json.IntMember(target.reloadRegisters[1], setting.reloadLow);
  } else {
    json.IntMember(ReloadRegisterLabel(target), setting.reloadLow);
  }
  json.EndObject();
  json.CountMember("divisor", setting.divisor);
  json.CountMember("achievedNumerator", setting.achievedNumerator);
  json.CountMember("achievedDenominator", setting.achievedDenominator);
  json.DoubleMember("achieved", setting.achieved);
  json.DoubleMember("deviation", setting.deviation);
  json.StringMember("deviationText", FormatDeviation(setting.deviation));
  json.BoolMember("outOfTolerance", !IsWithinTolerance(setting));
  if (json.ForPage()) {
    json.StringMember("clockText", ClockChoiceText(target, setting.clockIndex));
    json.StringMember("reloadLabel", ReloadRegisterLabel(target));
    json.StringMember("registersText", RegisterBytesText(target, setting));
    json.StringMember("achievedText", FractionText(setting.achievedNumerator, setting.achievedDenominator));
    json.StringMember("achievedDecimalText", DecimalText(setting.achieved));
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
