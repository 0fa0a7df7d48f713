#pragma once
// The lookup table for a target or a chip family's UART (--table CRYSTAL
// BAUD --target NAME) as JSON: one object a crystal and rate, the same
// members on both faces.

#include <span>

#include "answers/json_writer.h"
#include "answers/target_table.h"

namespace tesmirol::answers {

// {"crystal", "baud" (their texts as UTF-8), "target" (the best target,
// null when no setting is in range), "status" ("Ok", the first target's
// status without one, null when the texts give no result), "best" (the
// setting, answers::WriteSetting, or null), "outcome" (TargetTableOutcome)}.
void WriteTargetTableRow(JsonWriter& json, const TargetTableRow& row);

// Every crystal with every rate, crystal by crystal, as an array of rows.
void WriteTargetTable(JsonWriter& json, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                      std::span<const BaudTarget* const> targets);

}  // namespace tesmirol::answers
