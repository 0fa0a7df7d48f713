#pragma once
// The crystal finder: what every crystal and rate of a list gives, one row a
// pair, in text, CSV, Markdown or JSON.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/command_line_options.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"

namespace tesmirol::cli {

// A user's text or a preset, in UTF-8 for printing and in GBK for the engine.
struct InputText {
  std::string utf8;
  std::string gbk;
};

// One crystal and one rate and what they give.
struct CrystalTableRow {
  const InputText* crystal = nullptr;
  const InputText* baud = nullptr;
  std::optional<BaudCalculation> calculation;  // none: the pair gives no result
  InitCodeChoice choice;                       // what the generated code would use
};

// Every crystal with every rate, crystal by crystal, in the order given. The
// rows point into the two lists, which must outlive them.
std::vector<CrystalTableRow> MakeCrystalTable(std::span<const InputText> crystals,
                                              std::span<const InputText> bauds);

// The rows in the format asked for, as UTF-8 text ending in a line feed. The
// text table colours reloads and deviations with ANSI sequences when colour
// is true.
std::string FormatCrystalTable(std::span<const CrystalTableRow> rows, TableFormat format, bool colour);

}  // namespace tesmirol::cli
