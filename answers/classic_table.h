#pragma once
// The lookup table over crystals and rates on the classic Timer 1 (--table
// CRYSTAL BAUD): one row a crystal and rate, its cells in the user's
// language with the dialog's colours, and the table as CSV and Markdown.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "answers/table_text.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::answers {

// One crystal and one rate and what they give.
struct ClassicTableRow {
  const TableInput* crystal = nullptr;
  const TableInput* baud = nullptr;
  std::optional<BaudCalculation> calculation;  // none: the pair gives no result
  InitCodeChoice choice;                       // what the generated code would use
};

// What one crystal and one rate give; the row points to the texts, which
// must outlive it.
ClassicTableRow MakeClassicTableRow(const TableInput& crystal, const TableInput& baud);

// The text and Markdown tables' columns, and which of them hold numbers
// (aligned to the right).
inline constexpr std::size_t kClassicTableColumns = 9;
inline constexpr std::array<bool, kClassicTableColumns> kClassicTableRightAligned = {false, true, false, true, true,
                                                                                     false, true, true,  false};

std::array<std::string, kClassicTableColumns> ClassicTableHeadings(Language language);

// The row's cells: the crystal, the rate, per SMOD the reload (or too low,
// too high), the rate and the deviation, coloured as the dialog colours its
// labels, and the setting the code uses (or why there is none).
std::array<TableCell, kClassicTableColumns> ClassicTableCells(const ClassicTableRow& row, Language language);

// Every crystal with every rate, crystal by crystal, as CSV or as a
// Markdown table in the language, UTF-8 ending in a line feed.
void WriteClassicTableFile(TableText& table, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                           TableFile file, Language language);

}  // namespace tesmirol::answers
