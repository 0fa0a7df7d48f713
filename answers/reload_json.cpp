#include "answers/reload_json.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/reload_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {

bool WriteClassicReloadMembers(JsonWriter& json, const ReloadRates& rates) {
  const std::optional<std::string> crystalText = text::GbkToUtf8(rates.crystalText);
  if (!crystalText) {
    return false;
  }
  json.StringMember("crystalText", *crystalText);
  json.DoubleMember("frequency", static_cast<double>(rates.frequency));
  json.IntMember("crystalHz", rates.crystalHz);
  json.IntMember("reload", rates.reload);
  json.StringMember("reloadText", FormatReload(rates.reload));
  json.IntMember("divisor", rates.divisor);
  if (json.ForPage()) {
    json.StringMember("reloadLabel", "TH1");  // the classic Timer 1's one reload register
  }
  json.Key("modes");
  json.BeginArray();
  for (std::size_t smod = 0; smod < rates.achieved.size(); ++smod) {
    json.BeginObject();
    json.IntMember("smod", static_cast<std::int64_t>(smod));
    json.IntMember("achieved", rates.achieved.at(smod));
    json.EndObject();
  }
  json.EndArray();
  return true;
}

bool WriteTargetReloadMembers(JsonWriter& json, const BaudTarget& target, std::string_view crystalGbk,
                              const ExactFrequency& frequency, const std::vector<TargetSetting>& settings) {
  const std::optional<std::string> crystalText = text::GbkToUtf8(crystalGbk);
  if (!crystalText || settings.empty()) {
    return false;
  }
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
    static_cast<void>(WriteClassicReloadMembers(json, *answer.classic));
    json.EndObject();
  }
  for (const TargetReload& entry : answer.targets) {
    json.BeginObject();
    if (entry.settings && !entry.settings->empty()) {
      json.StringMember("status", "ok");
      static_cast<void>(
          WriteTargetReloadMembers(json, *entry.target, answer.crystalText, *answer.frequency, *entry.settings));
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
