#pragma once
// The lookup table for a target or a chip family's UART (--table CRYSTAL
// BAUD --target NAME): one row a crystal and rate with the targets' best
// setting, its cells in the user's language, and the table as CSV and
// Markdown.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/table_text.h"
#include "answers/target_finder.h"
#include "engine/language.h"

namespace tesmirol::answers {

// One crystal and one rate solved for the targets.
struct TargetTableRow {
  const TableInput* crystal = nullptr;
  const TableInput* baud = nullptr;
  TargetFinderRow answer;
  const TargetSolution* best = nullptr;  // into answer; nullptr when none is Ok
};

// Solves every crystal with every rate, crystal by crystal, and calls visit
// with each row; rows are made as they are visited.
template <typename Visit>
void ForEachTargetTableRow(std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                           std::span<const BaudTarget* const> targets, Visit visit) {
  for (const TableInput& crystal : crystals) {
    for (const TableInput& baud : bauds) {
      TargetTableRow row{&crystal, &baud, SolveTargetFinderRow(crystal.gbk, baud.gbk, targets), nullptr};
      row.best = row.answer.Best();
      visit(row);
    }
  }
}

// "code", "warning", "too low", "too high", "no result": what SIO_Init would
// be, in English for CSV and JSON, which are the same in every language.
std::string_view TargetTableOutcome(const TargetTableRow& row);

inline constexpr std::size_t kTargetTableColumns = 9;
inline constexpr std::size_t kTargetTableDeviationColumn = 7;
inline constexpr std::array<bool, kTargetTableColumns> kTargetTableRightAligned = {false, true, false, false, true,
                                                                                   false, true, true,  false};

std::array<std::string, kTargetTableColumns> TargetTableHeadings(Language language);

// The row's cells: crystal, rate, the best target, its clock, SMOD, reload,
// achieved rate and deviation ("-" without a setting in range), and what the
// code would be; the deviation blue within 1 %, red beyond.
std::array<TableCell, kTargetTableColumns> TargetTableCells(const TargetTableRow& row, Language language);

// Every crystal with every rate as CSV or as a Markdown table in the
// language, UTF-8 ending in a line feed.
void WriteTargetTableFile(TableText& table, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                          std::span<const BaudTarget* const> targets, TableFile file, Language language);

}  // namespace tesmirol::answers
