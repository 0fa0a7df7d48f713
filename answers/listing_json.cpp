#include "answers/listing_json.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/report_labels.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

void WriteStrings(JsonWriter& json, std::span<const std::string_view> texts) {
  json.BeginArray();
  for (const std::string_view text : texts) {
    json.String(text);
  }
  json.EndArray();
}

void WriteStrings(JsonWriter& json, std::span<const std::string> texts) {
  json.BeginArray();
  for (const std::string& text : texts) {
    json.String(text);
  }
  json.EndArray();
}

}  // namespace

void WriteTargetChoices(JsonWriter& json) {
  json.BeginObject();
  json.Key("targets");
  json.BeginArray();
  for (const BaudTarget& target : BaudTargets()) {
    json.BeginObject();
    json.StringMember("name", target.name);
    json.StringMember("chips", target.chips);
    json.Key("families");
    WriteStrings(json, target.families);
    json.StringMember("uart", target.uart);
    json.StringMember("timer", target.timer);
    json.StringMember("function", target.function);
    json.EndObject();
  }
  json.EndArray();
  json.Key("families");
  json.BeginArray();
  for (const std::string& family : BaudTargetFamilies()) {
    json.BeginObject();
    json.StringMember("name", family);
    json.Key("uarts");
    WriteStrings(json, UartNames(FindFamilyTargets(family)));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WritePresets(JsonWriter& json) {
  json.BeginObject();
  json.Key("crystals");
  WriteStrings(json, CrystalPresets());
  json.Key("bauds");
  WriteStrings(json, BaudPresets());
  json.EndObject();
}

void WriteReportLabels(JsonWriter& json) {
  const std::array<std::pair<std::string_view, std::string_view>, 8> labels = {{
      {"selectedCrystal", kSelectedCrystalLabel},
      {"minimum", kMinimumLabel},
      {"maximum", kMaximumLabel},
      {"tooLow", kTooLowText},
      {"tooHigh", kTooHighText},
      {"achieved", kAchievedLabel},
      {"deviation", kDeviationLabel},
      {"outOfTolerance", kOutOfToleranceMark},
  }};
  json.BeginObject();
  for (const auto& [key, label] : labels) {
    json.StringMember(key, text::GbkToUtf8(label).value_or(std::string()));
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
