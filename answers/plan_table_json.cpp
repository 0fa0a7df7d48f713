#include "answers/plan_table_json.h"

#include "answers/plan_json.h"

namespace tesmirol::answers {

void WritePlanTableRow(JsonWriter& json, const PlanTableRow& row) {
  json.BeginObject();
  json.StringMember("crystal", row.crystal->utf8);
  json.Key("plan");
  WritePlanEntries(json, row.result, {});
  json.Key("conflict");
  if (row.inputs && row.result.conflict) {
    WritePlanConflict(json, *row.result.conflict, row.requests, row.conflictMessage);
  } else {
    json.Null();
  }
  json.StringMember("outcome", PlanTableOutcome(row));
  json.EndObject();
}

void WritePlanTable(JsonWriter& json, std::span<const TableInput> crystals, const PlanTableQuestion& question) {
  json.BeginArray();
  for (const TableInput& crystal : crystals) {
    WritePlanTableRow(json, MakePlanTableRow(crystal, question));
  }
  json.EndArray();
}

}  // namespace tesmirol::answers
