#include "cli/crystal_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "answers/classic_table_json.h"
#include "answers/json_writer.h"
#include "cli/table_output.h"
#include "cli/utf8_text.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"

namespace tesmirol::cli {
namespace {

// The colours of the dialog's result labels: blue for a good value, red for
// a bad one.
enum class CellColour { None, Blue, Red };

struct Cell {
  std::string text;
  CellColour colour = CellColour::None;
};

// Column headings of the text and Markdown tables, and which of them hold
// numbers (aligned to the right).
constexpr std::size_t kColumns = 9;
constexpr std::array<bool, kColumns> kRightAligned = {false, true, false, true, true, false, true, true, false};

constexpr std::string_view kCsvHeading =
    "crystal,baud,smod0_reload,smod0_status,smod0_rate,smod0_deviation,"
    "smod1_reload,smod1_status,smod1_rate,smod1_deviation,outcome,chosen_smod\n";

using TextRow = std::array<Cell, kColumns>;

// The column headings in the language.
std::array<std::string, kColumns> Headings(Language language) {
  const std::string rate = Utf8Text(language, TextKey::TableRate);
  const std::string deviation = Utf8Text(language, TextKey::TableDeviation);
  return {Utf8Text(language, TextKey::TableCrystal),
          Utf8Text(language, TextKey::TableBaud),
          "SMOD=0 TH1",
          rate,
          deviation,
          "SMOD=1 TH1",
          rate,
          deviation,
          Utf8Text(language, TextKey::TableCode)};
}

// The code column: which setting the generated code uses, or why there is
// none.
std::string ChoiceText(const CrystalTableRow& row, Language language) {
  if (!row.calculation) {
    return Utf8Text(language, TextKey::TableNoResult);
  }
  switch (row.choice.outcome) {
    case GenerationOutcome::Nothing:
      return Utf8Text(language, TextKey::TableNothing);
    case GenerationOutcome::Warning:
      return Utf8Text(language, TextKey::TableWarning);
    case GenerationOutcome::Code:
      break;
  }
  return "SMOD=" + std::to_string(row.choice.smod);
}

// The three cells of one SMOD setting: reload (or too low / too high), rate
// and deviation, coloured as the dialog colours its labels.
std::array<Cell, 3> ModeCells(const ModeResult& mode, Language language) {
  Cell reload;
  switch (mode.status) {
    case ModeStatus::TooLow:
      reload = {Utf8Text(language, TextKey::TableTooLow), CellColour::Red};
      break;
    case ModeStatus::TooHigh:
      reload = {Utf8Text(language, TextKey::TableTooHigh), CellColour::Red};
      break;
    case ModeStatus::Ok:
      reload = {FormatReload(mode.reload), CellColour::Blue};
      break;
  }
  return {reload, Cell{std::to_string(mode.achieved), CellColour::None},
          Cell{FormatDeviation(mode.deviation) + "%", IsOutOfTolerance(mode) ? CellColour::Red : CellColour::Blue}};
}

TextRow MakeTextRow(const CrystalTableRow& row, Language language) {
  TextRow cells;
  cells[0].text = row.crystal->utf8;
  cells[1].text = row.baud->utf8;
  if (row.calculation) {
    const std::array<Cell, 3> smod0 = ModeCells(row.calculation->mode[0], language);
    const std::array<Cell, 3> smod1 = ModeCells(row.calculation->mode[1], language);
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

// Calls visit with the row of every crystal and every rate, crystal by
// crystal, in the order given. Rows are made as they are visited rather than
// kept: thousands of calculations held at once would cost more in memory
// than making them again.
template <typename Visit>
void ForEachRow(std::span<const InputText> crystals, std::span<const InputText> bauds, Visit visit) {
  for (const InputText& crystal : crystals) {
    for (const InputText& baud : bauds) {
      visit(MakeCrystalTableRow(crystal, baud));
    }
  }
}

std::string_view ColourStart(CellColour colour) {
  switch (colour) {
    case CellColour::Blue:
      return "\x1b[34m";
    case CellColour::Red:
      return "\x1b[31m";
    case CellColour::None:
      break;
  }
  return "";
}

// The aligned text table: columns two spaces apart, padded before the colour
// sequences go in so that they take no room.
void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               bool colour, Language language) {
  // Two passes over the rows, the first for the column widths.
  const std::array<std::string, kColumns> headings = Headings(language);
  std::array<std::size_t, kColumns> widths{};
  for (std::size_t column = 0; column < kColumns; ++column) {
    widths.at(column) = DisplayWidth(headings.at(column));
  }
  ForEachRow(crystals, bauds, [&widths, language](const CrystalTableRow& row) {
    const TextRow cells = MakeTextRow(row, language);
    for (std::size_t column = 0; column < kColumns; ++column) {
      widths.at(column) = std::max(widths.at(column), DisplayWidth(cells.at(column).text));
    }
  });

  std::string& table = output.Text();
  const auto appendCell = [&](const Cell& cell, std::size_t column) {
    const std::size_t padding = widths.at(column) - DisplayWidth(cell.text);
    const bool last = column + 1 == kColumns;
    if (kRightAligned.at(column)) {
      table.append(padding, ' ');
    }
    const bool coloured = colour && cell.colour != CellColour::None;
    if (coloured) {
      table += ColourStart(cell.colour);
    }
    table += cell.text;
    if (coloured) {
      table += "\x1b[0m";
    }
    if (!kRightAligned.at(column) && !last) {
      table.append(padding, ' ');
    }
    table += last ? "\n" : "  ";
  };
  for (std::size_t column = 0; column < kColumns; ++column) {
    appendCell({headings.at(column), CellColour::None}, column);
  }
  ForEachRow(crystals, bauds, [&appendCell, &output, language](const CrystalTableRow& row) {
    const TextRow cells = MakeTextRow(row, language);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      appendCell(cells.at(column), column);
    }
    output.EndRow();
  });
}

void MarkdownTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
                   Language language) {
  std::string& table = output.Text();
  AppendMarkdownHeader(table, Headings(language), kRightAligned);
  ForEachRow(crystals, bauds, [&table, &output, language](const CrystalTableRow& row) {
    table += "|";
    for (const Cell& cell : MakeTextRow(row, language)) {
      table += ' ';
      table += MarkdownCell(cell.text);
      table += " |";
    }
    table += '\n';
    output.EndRow();
  });
}

void CsvTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds) {
  std::string& table = output.Text();
  table += kCsvHeading;
  ForEachRow(crystals, bauds, [&table, &output](const CrystalTableRow& row) {
    table += CsvField(row.crystal->utf8);
    table += ',';
    table += CsvField(row.baud->utf8);
    if (!row.calculation) {
      table += ",,,,,,,,,,\n";
      output.EndRow();
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
    output.EndRow();
  });
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds) {
  // An array with one compact object a line: each row is written as it is
  // made, and a line is one crystal and rate for grep and diff.
  JsonRows rows(output);
  ForEachRow(crystals, bauds, [&rows](const CrystalTableRow& row) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    answers::WriteClassicTableRow(json, row.crystal->utf8, row.baud->utf8, row.calculation);
    rows.Append(json.Text());
  });
  rows.Close();
}

}  // namespace

CrystalTableRow MakeCrystalTableRow(const InputText& crystal, const InputText& baud) {
  CrystalTableRow row;
  row.crystal = &crystal;
  row.baud = &baud;
  row.calculation = CalculateBaud(crystal.gbk, baud.gbk);
  if (row.calculation) {
    row.choice = ChooseInitCodeSetting(*row.calculation);
  }
  return row;
}

void WriteCrystalTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                       TableFormat format, bool colour, Language language) {
  ChunkedOutput output(out);
  switch (format) {
    case TableFormat::Csv:
      CsvTable(output, crystals, bauds);
      break;
    case TableFormat::Markdown:
      MarkdownTable(output, crystals, bauds, language);
      break;
    case TableFormat::Json:
      JsonTable(output, crystals, bauds);
      break;
    case TableFormat::Text:
      TextTable(output, crystals, bauds, colour, language);
      break;
  }
  output.Flush();
}

}  // namespace tesmirol::cli
