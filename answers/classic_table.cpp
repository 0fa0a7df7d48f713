#include "answers/classic_table.h"

#include <algorithm>
#include <string_view>

#include "engine/deviation_text.h"
#include "engine/reload_text.h"

namespace tesmirol::answers {
namespace {

constexpr std::string_view kCsvHeading =
    "crystal,baud,smod0_reload,smod0_status,smod0_rate,smod0_deviation,"
    "smod1_reload,smod1_status,smod1_rate,smod1_deviation,outcome,chosen_smod\n";

// The code column: which setting the generated code uses, or why there is
// none.
std::string ChoiceText(const ClassicTableRow& row, Language language) {
  if (!row.calculation) {
    return TableWord(language, TextKey::TableNoResult);
  }
  switch (row.choice.outcome) {
    case GenerationOutcome::Nothing:
      return TableWord(language, TextKey::TableNothing);
    case GenerationOutcome::Warning:
      return TableWord(language, TextKey::TableWarning);
    case GenerationOutcome::Code:
      break;
  }
  return "SMOD=" + std::to_string(row.choice.smod);
}

// The three cells of one SMOD setting: reload (or too low / too high), rate
// and deviation.
std::array<TableCell, 3> ModeCells(const ModeResult& mode, Language language) {
  TableCell reload;
  switch (mode.status) {
    case ModeStatus::TooLow:
      reload = {TableWord(language, TextKey::TableTooLow), CellColour::Red};
      break;
    case ModeStatus::TooHigh:
      reload = {TableWord(language, TextKey::TableTooHigh), CellColour::Red};
      break;
    case ModeStatus::Ok:
      reload = {FormatReload(mode.reload), CellColour::Blue};
      break;
  }
  return {
      reload, TableCell{std::to_string(mode.achieved), CellColour::None},
      TableCell{FormatDeviation(mode.deviation) + "%", IsOutOfTolerance(mode) ? CellColour::Red : CellColour::Blue}};
}

// Rows are made as they are visited rather than kept: thousands of
// calculations held at once would cost more in memory than making them
// again.
template <typename Visit>
void ForEachRow(std::span<const TableInput> crystals, std::span<const TableInput> bauds, Visit visit) {
  for (const TableInput& crystal : crystals) {
    for (const TableInput& baud : bauds) {
      visit(MakeClassicTableRow(crystal, baud));
    }
  }
}

void AppendCsvRow(std::string& table, const ClassicTableRow& row) {
  table += CsvField(row.crystal->utf8);
  table += ',';
  table += CsvField(row.baud->utf8);
  if (!row.calculation) {
    table += ",,,,,,,,,,\n";
    return;
  }
  for (const ModeResult& mode : row.calculation->mode) {
    for (const std::string& field : {FormatReload(mode.reload), std::string(ModeStatusName(mode.status)),
                                     std::to_string(mode.achieved), FormatDeviation(mode.deviation)}) {
      table += ',';
      table += field;
    }
  }
  table += ",";
  table += GenerationOutcomeName(row.choice.outcome);
  table += ",";
  if (row.choice.outcome == GenerationOutcome::Code) {
    table += std::to_string(row.choice.smod);
  }
  table += '\n';
}

}  // namespace

ClassicTableRow MakeClassicTableRow(const TableInput& crystal, const TableInput& baud) {
  ClassicTableRow row;
  row.crystal = &crystal;
  row.baud = &baud;
  row.calculation = CalculateBaud(crystal.gbk, baud.gbk);
  if (row.calculation) {
    row.choice = ChooseInitCodeSetting(*row.calculation);
  }
  return row;
}

std::array<std::string, kClassicTableColumns> ClassicTableHeadings(Language language) {
  const std::string rate = TableWord(language, TextKey::TableRate);
  const std::string deviation = TableWord(language, TextKey::TableDeviation);
  return {TableWord(language, TextKey::TableCrystal),
          TableWord(language, TextKey::TableBaud),
          "SMOD=0 TH1",
          rate,
          deviation,
          "SMOD=1 TH1",
          rate,
          deviation,
          TableWord(language, TextKey::TableCode)};
}

std::array<TableCell, kClassicTableColumns> ClassicTableCells(const ClassicTableRow& row, Language language) {
  std::array<TableCell, kClassicTableColumns> cells;
  cells[0].text = row.crystal->utf8;
  cells[1].text = row.baud->utf8;
  if (row.calculation) {
    const std::array<TableCell, 3> smod0 = ModeCells(row.calculation->mode[0], language);
    const std::array<TableCell, 3> smod1 = ModeCells(row.calculation->mode[1], language);
    std::copy(smod0.begin(), smod0.end(), cells.begin() + 2);
    std::copy(smod1.begin(), smod1.end(), cells.begin() + 5);
  } else {
    for (std::size_t column = 2; column < 8; ++column) {
      cells.at(column).text.assign(1, '-');
    }
  }
  cells[8].text = ChoiceText(row, language);
  return cells;
}

void WriteClassicTableFile(TableText& table, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                           TableFile file, Language language) {
  std::string& text = table.Text();
  if (file == TableFile::Csv) {
    text += kCsvHeading;
  } else {
    AppendMarkdownHeader(text, ClassicTableHeadings(language), kClassicTableRightAligned);
  }
  ForEachRow(crystals, bauds, [&](const ClassicTableRow& row) {
    if (file == TableFile::Csv) {
      AppendCsvRow(text, row);
    } else {
      AppendMarkdownRow(text, ClassicTableCells(row, language));
    }
    table.EndRow();
  });
}

}  // namespace tesmirol::answers
