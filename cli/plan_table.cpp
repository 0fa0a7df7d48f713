#include "cli/plan_table.h"

#include <iterator>
#include <ostream>
#include <vector>

#include "answers/json_writer.h"
#include "answers/plan_table.h"
#include "answers/plan_table_json.h"
#include "cli/build_check.h"
#include "cli/table_output.h"

namespace tesmirol::cli {
namespace {

// The UARTs of --uart NAME:RATE (every one has its rate) on the chip.
answers::PlanTableQuestion MakeQuestion(std::span<const UartChoice> uarts,
                                        const std::vector<const BaudTarget*>& chipTargets, double tolerancePercent) {
  answers::PlanTableQuestion question;
  for (const UartChoice& uart : uarts) {
    question.uarts.push_back({uart.uart, uart.baud.value_or(0)});
  }
  question.chipTargets = chipTargets;
  question.tolerancePercent = tolerancePercent;
  question.toleranceText = PercentText(tolerancePercent);
  return question;
}

void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, const answers::PlanTableQuestion& question,
               bool colour, Language language) {
  std::vector<answers::PlanTableCells> rows;
  for (const InputText& crystal : crystals) {
    const answers::PlanTableRow row = answers::MakePlanTableRow(crystal, question);
    std::vector<answers::PlanTableCells> uarts = answers::PlanTableRowCells(row, question, language);
    rows.insert(rows.end(), std::make_move_iterator(uarts.begin()), std::make_move_iterator(uarts.end()));
  }
  AppendAlignedTable(
      output, answers::PlanTableHeadings(language), answers::kPlanTableRightAligned,
      [&rows](const auto& visit) {
        for (const answers::PlanTableCells& cells : rows) {
          visit(cells);
        }
      },
      colour);
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, const answers::PlanTableQuestion& question) {
  JsonRows rows(output);
  for (const InputText& crystal : crystals) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    answers::WritePlanTableRow(json, answers::MakePlanTableRow(crystal, question));
    rows.Append(json.Text());
  }
  rows.Close();
}

}  // namespace

void WritePlanTable(std::ostream& out, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
                    const std::vector<const BaudTarget*>& chipTargets, double tolerancePercent, TableFormat format,
                    bool colour, Language language) {
  const answers::PlanTableQuestion question = MakeQuestion(uarts, chipTargets, tolerancePercent);
  ChunkedOutput output(out);
  switch (format) {
    case TableFormat::Csv:
      answers::WritePlanTableFile(output, crystals, question, answers::TableFile::Csv, language);
      break;
    case TableFormat::Markdown:
      answers::WritePlanTableFile(output, crystals, question, answers::TableFile::Markdown, language);
      break;
    case TableFormat::Json:
      JsonTable(output, crystals, question);
      break;
    case TableFormat::Text:
      TextTable(output, crystals, question, colour, language);
      break;
  }
  output.Flush();
}

}  // namespace tesmirol::cli
