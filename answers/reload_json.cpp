#include "answers/reload_json.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The rate the reports compare with, when one is asked about.
void WriteBaud(JsonWriter& json, const ReloadAnswer& answer) {
  if (answer.baud > 0) {
    json.IntMember("baud", answer.baud);
  }
}

// One rate's deviation from it: percent, its two-decimal text and whether it
// is beyond the 1 % tolerance.
void WriteDeviation(JsonWriter& json, double deviation, bool outOfTolerance) {
  json.DoubleMember("deviation", deviation);
  json.StringMember("deviationText", FormatDeviation(deviation));
  json.BoolMember("outOfTolerance", outOfTolerance);
}

}  // namespace

bool WriteClassicReloadMembers(JsonWriter& json, const ReloadAnswer& answer) {
  const std::optional<std::string> crystalText = text::GbkToUtf8(answer.crystalText);
  if (!answer.classic || !crystalText) {
    return false;
  }
  const ReloadRates& rates = *answer.classic;
  json.StringMember("crystalText", *crystalText);
  json.DoubleMember("frequency", static_cast<double>(rates.frequency));
  json.IntMember("crystalHz", rates.crystalHz);
  json.IntMember("reload", rates.reload);
  json.StringMember("reloadText", FormatReload(rates.reload));
  json.IntMember("divisor", rates.divisor);
  if (json.ForPage()) {
    json.StringMember("reloadLabel", "TH1");  // the classic Timer 1's one reload register
  }
  WriteBaud(json, answer);
  json.Key("modes");
  json.BeginArray();
  for (std::size_t smod = 0; smod < rates.achieved.size(); ++smod) {
    json.BeginObject();
    json.IntMember("smod", static_cast<std::int64_t>(smod));
    json.IntMember("achieved", rates.achieved.at(smod));
    if (smod < answer.classicModes.size()) {
      const ModeResult& mode = answer.classicModes[smod];
      WriteDeviation(json, mode.deviation, IsOutOfTolerance(mode));
    }
    json.EndObject();
  }
  json.EndArray();
  return true;
}

bool WriteTargetReloadMembers(JsonWriter& json, const ReloadAnswer& answer, const TargetReload& entry) {
  const std::optional<std::string> crystalText = text::GbkToUtf8(answer.crystalText);
  if (!crystalText || !answer.frequency || !entry.settings || entry.settings->empty()) {
    return false;
  }
  const BaudTarget& target = *entry.target;
  const ExactFrequency& frequency = *answer.frequency;
  const std::vector<TargetSetting>& settings = *entry.settings;
  const std::uint32_t reload = settings.front().reload;
  json.StringMember("target", target.name);
  json.StringMember("crystalText", *crystalText);
  json.Key("crystalHz");
  json.BeginObject();
  json.CountMember("numerator", frequency.numerator);
  json.CountMember("denominator", frequency.denominator);
  json.EndObject();
  json.IntMember("reload", reload);
  json.StringMember("reloadText", TargetReloadText(target, reload));
  if (json.ForPage()) {
    json.StringMember("crystalHzText", FractionText(frequency.numerator, frequency.denominator));
    json.StringMember("reloadLabel", ReloadRegisterLabel(target));
    json.StringMember("reloadBytesText", ReloadBytesText(target, reload));
  }
  WriteBaud(json, answer);
  json.Key("modes");
  json.BeginArray();
  for (const TargetSetting& setting : settings) {
    json.BeginObject();
    json.IntMember("clockIndex", setting.clockIndex);
    json.IntMember("clocksPerCycle", setting.clocksPerCycle);
    json.IntMember("smod", setting.smod);
    json.CountMember("divisor", setting.divisor);
    json.CountMember("achievedNumerator", setting.achievedNumerator);
    json.CountMember("achievedDenominator", setting.achievedDenominator);
    json.DoubleMember("achieved", setting.achieved);
    if (answer.baud > 0) {
      WriteDeviation(json, setting.deviation, !IsWithinTolerance(setting));
    }
    if (json.ForPage()) {
      json.StringMember("clockText", ClockChoiceText(target, setting.clockIndex));
      json.StringMember("achievedText", FractionText(setting.achievedNumerator, setting.achievedDenominator));
      json.StringMember("achievedDecimalText", DecimalText(setting.achieved));
    }
    json.EndObject();
  }
  json.EndArray();
  return true;
}

void WriteReloadAnswer(JsonWriter& json, const ReloadAnswer& answer) {
  json.Key("status");
  if (!answer.onTargets && answer.reload > kClassicMostReload) {
    json.String("tooWide");
    json.IntMember("reloadBits", 8);
    return;
  }
  if (!answer.HasResult()) {
    json.String("noResult");
    return;
  }
  json.String("ok");
  json.Key("reports");
  json.BeginArray();
  if (answer.classic) {
    json.BeginObject();
    json.StringMember("status", "ok");
    // The crystal came from the page's UTF-16 text: it converts back.
    static_cast<void>(WriteClassicReloadMembers(json, answer));
    json.EndObject();
  }
  for (const TargetReload& entry : answer.targets) {
    json.BeginObject();
    if (entry.settings && !entry.settings->empty()) {
      json.StringMember("status", "ok");
      static_cast<void>(WriteTargetReloadMembers(json, answer, entry));
    } else {
      json.StringMember("status", "tooWide");
      json.StringMember("target", entry.target->name);
      json.IntMember("reloadBits", entry.target->reloadBits);
    }
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace tesmirol::answers
