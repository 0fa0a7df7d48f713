#pragma once
// The plan on each crystal (--table CRYSTAL --target NAME --uart A:RATE
// --uart B:RATE) as JSON: one object a crystal, the same members on both
// faces.

#include <span>

#include "answers/json_writer.h"
#include "answers/plan_table.h"

namespace tesmirol::answers {

// {"crystal" (its text as UTF-8), "plan" (WritePlanEntries, null without a
// plan), "conflict" (WritePlanConflict with the English message, null with
// a plan or without a result), "outcome" (PlanTableOutcome)}.
void WritePlanTableRow(JsonWriter& json, const PlanTableRow& row);

// Every crystal's plan, as an array of rows.
void WritePlanTable(JsonWriter& json, std::span<const TableInput> crystals, const PlanTableQuestion& question);

}  // namespace tesmirol::answers
