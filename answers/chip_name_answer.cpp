#include "answers/chip_name_answer.h"

namespace tesmirol::answers {

ChipNameAnswer AnswerChipName(std::string_view given) {
  ChipNameAnswer answer;
  answer.chip = ResolveChipName(given);
  if (answer.chip.kind == ChipNameKind::Unknown) {
    answer.nearest = NearestChipNames(given);
  }
  return answer;
}

std::string_view ChipNameKindName(ChipNameKind kind) noexcept {
  switch (kind) {
    case ChipNameKind::Target:
      return "Target";
    case ChipNameKind::Family:
      return "Family";
    case ChipNameKind::Part:
      return "Part";
    case ChipNameKind::UnsupportedPart:
      return "UnsupportedPart";
    case ChipNameKind::Unknown:
      break;
  }
  return "Unknown";
}

void WriteChipName(JsonWriter& json, const ChipNameAnswer& answer) {
  json.BeginObject();
  json.StringMember("kind", ChipNameKindName(answer.chip.kind));
  json.StringMember("name", answer.chip.catalogueName);
  // An unknown name's own text is not repeated: the page has it, and it
  // may hold what is no part number at all.
  json.StringMember("part", answer.chip.kind == ChipNameKind::Unknown ? std::string_view() : answer.chip.part);
  json.StringMember("source", answer.chip.record != nullptr ? answer.chip.record->source : std::string_view());
  json.Key("nearest");
  json.BeginArray();
  for (const std::string& name : answer.nearest) {
    json.String(name);
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace tesmirol::answers
