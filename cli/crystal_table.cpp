#include "cli/crystal_table.h"

#include <ostream>

#include "answers/classic_table.h"
#include "answers/classic_table_json.h"
#include "answers/json_writer.h"
#include "cli/table_output.h"

namespace tesmirol::cli {
namespace {

// Calls visit with the row of every crystal and every rate, crystal by
// crystal, in the order given. Rows are made as they are visited rather than
// kept: thousands of calculations held at once would cost more in memory
// than making them again.
template <typename Visit>
void ForEachRow(std::span<const InputText> crystals, std::span<const InputText> bauds, Visit visit) {
  for (const InputText& crystal : crystals) {
    for (const InputText& baud : bauds) {
      visit(answers::MakeClassicTableRow(crystal, baud));
    }
  }
}

void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               bool colour, Language language) {
  AppendAlignedTable(
      output, answers::ClassicTableHeadings(language), answers::kClassicTableRightAligned,
      [&](const auto& visit) {
        ForEachRow(crystals, bauds,
                   [&](const answers::ClassicTableRow& row) { visit(answers::ClassicTableCells(row, language)); });
      },
      colour);
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds) {
  // An array with one compact object a line: each row is written as it is
  // made, and a line is one crystal and rate for grep and diff.
  JsonRows rows(output);
  ForEachRow(crystals, bauds, [&rows](const answers::ClassicTableRow& row) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    answers::WriteClassicTableRow(json, row.crystal->utf8, row.baud->utf8, row.calculation);
    rows.Append(json.Text());
  });
  rows.Close();
}

}  // namespace

void WriteCrystalTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                       TableFormat format, bool colour, Language language) {
  ChunkedOutput output(out);
  switch (format) {
    case TableFormat::Csv:
      answers::WriteClassicTableFile(output, crystals, bauds, answers::TableFile::Csv, language);
      break;
    case TableFormat::Markdown:
      answers::WriteClassicTableFile(output, crystals, bauds, answers::TableFile::Markdown, language);
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
