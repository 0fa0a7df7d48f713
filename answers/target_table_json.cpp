#include "answers/target_table_json.h"

#include <optional>

#include "answers/setting_json.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {

void WriteTargetTableRow(JsonWriter& json, const TargetTableRow& row) {
  json.BeginObject();
  json.StringMember("crystal", row.crystal->utf8);
  json.StringMember("baud", row.baud->utf8);
  json.Key("target");
  if (row.best != nullptr) {
    json.String(row.best->target->name);
    json.StringMember("status", "Ok");
    json.Key("best");
    WriteSetting(json, *row.best->target, row.best->best);
  } else {
    json.Null();
    json.Key("status");
    if (const std::optional<TargetStatus> status = row.answer.Status()) {
      json.String(TargetStatusName(*status));
    } else {
      json.Null();
    }
    json.Key("best");
    json.Null();
  }
  json.StringMember("outcome", TargetTableOutcome(row));
  json.EndObject();
}

void WriteTargetTable(JsonWriter& json, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                      std::span<const BaudTarget* const> targets) {
  json.BeginArray();
  ForEachTargetTableRow(crystals, bauds, targets,
                        [&json](const TargetTableRow& row) { WriteTargetTableRow(json, row); });
  json.EndArray();
}

}  // namespace tesmirol::answers
