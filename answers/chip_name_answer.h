#pragma once
// What a name typed for a chip stands for, answered once for the command
// line's --target and the page's part-number box: a target, a family, a
// part number of a family (with the vendor's table it comes from), a part
// of a family with no generator yet, or nothing, with the nearest names.

#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "engine/part_catalogue.h"

namespace tesmirol::answers {

struct ChipNameAnswer {
  ChipName chip;
  std::vector<std::string> nearest;  // the nearest known names; only when the name is unknown
};

// Resolves the name (GBK or ASCII, any case, a part number's tail allowed).
ChipNameAnswer AnswerChipName(std::string_view given);

// The kind under its own name ("Target", "Family", "Part", "UnsupportedPart",
// "Unknown").
std::string_view ChipNameKindName(ChipNameKind kind) noexcept;

// {kind, name (the catalogue's target or family, or the unsupported part's
// family; "" when unknown), part, source (the vendor's table naming the
// part; "" when none), nearest: [...]}.
void WriteChipName(JsonWriter& json, const ChipNameAnswer& answer);

}  // namespace tesmirol::answers
