#include "cli/target_table.h"

#include <ostream>
#include <vector>

#include "answers/json_writer.h"
#include "answers/target_table.h"
#include "answers/target_table_json.h"
#include "cli/table_output.h"

namespace tesmirol::cli {
namespace {

using Cells = std::array<answers::TableCell, answers::kTargetTableColumns>;

// The aligned text table. The rows are solved once and kept for the second
// pass that writes them: solving a family's targets costs more than holding
// the cells.
void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               const std::vector<const BaudTarget*>& targets, bool colour, Language language) {
  std::vector<Cells> rows;
  rows.reserve(crystals.size() * bauds.size());
  answers::ForEachTargetTableRow(crystals, bauds, targets, [&rows, language](const answers::TargetTableRow& row) {
    rows.push_back(answers::TargetTableCells(row, language));
  });
  AppendAlignedTable(
      output, answers::TargetTableHeadings(language), answers::kTargetTableRightAligned,
      [&rows](const auto& visit) {
        for (const Cells& cells : rows) {
          visit(cells);
        }
      },
      colour);
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               const std::vector<const BaudTarget*>& targets) {
  JsonRows rows(output);
  answers::ForEachTargetTableRow(crystals, bauds, targets, [&rows](const answers::TargetTableRow& row) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    answers::WriteTargetTableRow(json, row);
    rows.Append(json.Text());
  });
  rows.Close();
}

}  // namespace

void WriteTargetTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                      const std::vector<const BaudTarget*>& targets, TableFormat format, bool colour,
                      Language language) {
  ChunkedOutput output(out);
  switch (format) {
    case TableFormat::Csv:
      answers::WriteTargetTableFile(output, crystals, bauds, targets, answers::TableFile::Csv, language);
      break;
    case TableFormat::Markdown:
      answers::WriteTargetTableFile(output, crystals, bauds, targets, answers::TableFile::Markdown, language);
      break;
    case TableFormat::Json:
      JsonTable(output, crystals, bauds, targets);
      break;
    case TableFormat::Text:
      TextTable(output, crystals, bauds, targets, colour, language);
      break;
  }
  output.Flush();
}

}  // namespace tesmirol::cli
