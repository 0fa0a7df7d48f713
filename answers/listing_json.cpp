#include "answers/listing_json.h"

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "engine/report_labels.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
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

void WriteTargetNames(JsonWriter& json, const std::vector<const BaudTarget*>& targets) {
  json.BeginArray();
  for (const BaudTarget* target : targets) {
    json.String(target->name);
  }
  json.EndArray();
}

void WriteClocks(JsonWriter& json, const BaudTarget& target) {
  json.BeginArray();
  for (std::uint32_t index = 0; index < target.clocks.size(); ++index) {
    const ClockChoice& clock = target.clocks[index];
    json.BeginObject();
    json.StringMember("clock", ClockChoiceText(target, index));
    json.IntMember("clocksPerCycle", clock.clocksPerCycle);
    json.IntMember("divider", clock.divider);
    json.IntMember("select", clock.select);
    json.EndObject();
  }
  json.EndArray();
}

void WriteTarget(JsonWriter& json, const BaudTarget& target) {
  json.BeginObject();
  json.StringMember("name", target.name);
  json.StringMember("uart", target.uart);
  json.StringMember("function", target.function);
  json.StringMember("timer", target.timer);
  json.Key("families");
  WriteStrings(json, target.families);
  json.StringMember("chips", target.chips);
  json.StringMember("clock", ClockChoiceText(target, 0));
  json.IntMember("clocksPerCycle", target.clocksPerCycle);
  json.StringMember("clockSelect", ClockSelectName(target.clockSelect));
  json.Key("clocks");
  WriteClocks(json, target);
  json.StringMember("generator", GeneratorKindName(target.generator));
  json.IntMember("divider", target.divider);
  json.IntMember("reloadBits", target.reloadBits);
  json.BoolMember("smodDoubles", target.smodDoubles);
  json.Key("reloadRegisters");
  WriteStrings(json, target.reloadRegisters);
  json.StringMember("registers", target.registers);
  json.StringMember("formula", target.formula);
  json.StringMember("source", target.source);
  json.EndObject();
}

}  // namespace

void WriteTargetListing(JsonWriter& json) {
  const std::vector<std::string> families = BaudTargetFamilies();
  json.BeginObject();
  json.Key("targets");
  json.BeginArray();
  for (const BaudTarget& target : BaudTargets()) {
    WriteTarget(json, target);
  }
  json.EndArray();
  json.Key("families");
  json.BeginObject();
  for (const std::string& family : families) {
    json.Key(family);
    WriteTargetNames(json, FindBaudTargets(family));
  }
  json.EndObject();
  json.Key("familyUarts");
  json.BeginObject();
  for (const std::string& family : families) {
    const std::vector<const BaudTarget*> all = FindFamilyTargets(family);
    json.Key(family);
    json.BeginObject();
    for (const std::string& uart : UartNames(all)) {
      json.Key(uart);
      WriteTargetNames(json, TargetsOfUart(all, uart));
    }
    json.EndObject();
  }
  json.EndObject();
  if (json.ForPage()) {
    json.Key("familyNames");
    WriteStrings(json, families);
  }
  json.EndObject();
}

std::vector<std::string> RecordPartNames(const PartRecord& record) {
  std::vector<std::string> parts;
  const std::span<const PartRecord> records = PartRecords();
  for (const PartName& part : PartNames()) {
    if (&records[part.record] == &record) {
      parts.emplace_back(part.name);
    }
  }
  return parts;
}

void WritePartListing(JsonWriter& json, std::string_view family) {
  json.BeginObject();
  json.StringMember("family", family);
  json.BoolMember("supported", !FindFamilyTargets(family).empty());
  json.Key("records");
  json.BeginArray();
  for (const PartRecord* record : FamilyPartRecords(family)) {
    json.BeginObject();
    json.StringMember("source", record->source);
    json.StringMember("names", record->names);
    json.Key("parts");
    WriteStrings(json, RecordPartNames(*record));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WritePresetListing(JsonWriter& json) {
  json.BeginObject();
  json.Key("crystal");
  WriteStrings(json, CrystalPresets());
  json.Key("baud");
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
