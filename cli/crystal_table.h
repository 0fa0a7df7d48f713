#pragma once
// The crystal finder: what every crystal and rate of a list gives, one row a
// pair, in text, CSV, Markdown or JSON.

#include <iosfwd>
#include <optional>
#include <span>
#include <string>

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

// What one crystal and one rate give; the row points to the texts, which
// must outlive it.
CrystalTableRow MakeCrystalTableRow(const InputText& crystal, const InputText& baud);

// Writes a row for every crystal with every rate, crystal by crystal in the
// order given, in the format asked for, as UTF-8 text ending in a line feed.
// The text and Markdown tables speak the language; CSV and JSON, read by
// programs, are the same in every language. The text table colours reloads and deviations with ANSI sequences when
// colour is true. The caller checks the stream for write errors.
void WriteCrystalTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                       TableFormat format, bool colour, Language language);

}  // namespace tesmirol::cli
