#pragma once
// The crystal finder: what every crystal and rate of a list gives, one row a
// pair, in text, CSV, Markdown or JSON.

#include <iosfwd>
#include <span>

#include "answers/table_text.h"
#include "cli/command_line_options.h"

namespace tesmirol::cli {

// A user's text or a preset, in UTF-8 for printing and in GBK for the engine.
using InputText = answers::TableInput;

// Writes a row for every crystal with every rate, crystal by crystal in the
// order given, in the format asked for, as UTF-8 text ending in a line feed.
// The text and Markdown tables speak the language; CSV and JSON, read by
// programs, are the same in every language. The text table colours reloads and deviations with ANSI sequences when
// colour is true. The caller checks the stream for write errors.
void WriteCrystalTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                       TableFormat format, bool colour, Language language);

}  // namespace tesmirol::cli
