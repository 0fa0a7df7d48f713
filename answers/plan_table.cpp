#include "answers/plan_table.h"

#include <algorithm>

#include "answers/plan_conflict_text.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

constexpr std::string_view kCsvHeading =
    "crystal,uart,baud,target,timer,clocks_per_cycle,smod,reload,rate_numerator,rate_denominator,rate,deviation,"
    "outcome\n";

void AppendCsvRows(std::string& table, const PlanTableRow& row, const PlanTableQuestion& question) {
  const std::string_view outcome = PlanTableOutcome(row);
  for (std::size_t index = 0; index < question.uarts.size(); ++index) {
    table += CsvField(row.crystal->utf8);
    table += ',';
    table += question.uarts[index].uart;
    table += ',';
    table += std::to_string(question.uarts[index].baud);
    table += ',';
    if (row.result.plan) {
      const PlannedUart& planned = row.result.plan->uarts.at(index);
      const TargetSetting& setting = planned.setting;
      const BaudTarget& target = *planned.target;
      for (const std::string& field :
           {target.name, target.timer, std::to_string(setting.clocksPerCycle), std::to_string(setting.smod),
            TargetReloadText(target, setting.reload), std::to_string(setting.achievedNumerator),
            std::to_string(setting.achievedDenominator), DecimalText(setting.achieved),
            FormatDeviation(setting.deviation)}) {
        table += field;
        table += ',';
      }
    } else {
      table += ",,,,,,,,,";
    }
    table += outcome;
    table += '\n';
  }
}

}  // namespace

PlanTableRow MakePlanTableRow(const TableInput& crystal, const PlanTableQuestion& question) {
  PlanTableRow row;
  row.crystal = &crystal;
  // Every UART has its rate: the first stands in for the rate the crystal
  // is read with, which no request uses.
  row.inputs = ReadTargetInputs(crystal.gbk, std::to_string(question.uarts.front().baud));
  if (!row.inputs) {
    return row;
  }
  row.requests.reserve(question.uarts.size());
  for (const PlanTableUart& uart : question.uarts) {
    row.requests.push_back({uart.uart, uart.baud, std::to_string(uart.baud)});
  }
  row.result = PlanUarts(question.chipTargets, *row.inputs, row.requests, question.tolerancePercent);
  if (!row.result.plan) {
    row.conflictMessage =
        PlanConflictText(row.result.conflict.value_or(PlanConflict{}), row.requests, question.chipTargets, "the chip",
                         *row.inputs, question.toleranceText, Language::English);
  }
  return row;
}

std::string_view PlanTableOutcome(const PlanTableRow& row) {
  if (!row.inputs) {
    return "no result";
  }
  if (!row.result.plan) {
    return "conflict";
  }
  const auto& uarts = row.result.plan->uarts;
  const bool code = std::all_of(uarts.begin(), uarts.end(),
                                [](const PlannedUart& planned) { return IsWithinTolerance(planned.setting); });
  return code ? "code" : "warning";
}

std::array<std::string, kPlanTableColumns> PlanTableHeadings(Language language) {
  return {TableWord(language, TextKey::TableCrystal),
          "UART",
          TableWord(language, TextKey::TableBaud),
          TableWord(language, TextKey::TableTarget),
          TableWord(language, TextKey::TableTimer),
          TableWord(language, TextKey::TableClock),
          "SMOD",
          TableWord(language, TextKey::TableReload),
          TableWord(language, TextKey::TableRate),
          TableWord(language, TextKey::TableDeviation),
          TableWord(language, TextKey::TablePlan)};
}

std::vector<PlanTableCells> PlanTableRowCells(const PlanTableRow& row, const PlanTableQuestion& question,
                                              Language language) {
  const std::string_view outcome = PlanTableOutcome(row);
  const TextKey outcomeKey = outcome == "no result"  ? TextKey::TableNoResult
                             : outcome == "conflict" ? TextKey::TableConflict
                             : outcome == "code"     ? TextKey::TableCode
                                                     : TextKey::TableWarning;
  const std::string outcomeText = TableWord(language, outcomeKey);
  std::vector<PlanTableCells> rows;
  rows.reserve(question.uarts.size());
  for (std::size_t index = 0; index < question.uarts.size(); ++index) {
    PlanTableCells& cells = rows.emplace_back();
    for (TableCell& cell : cells) {
      cell.text.assign(1, '-');
    }
    cells[0].text = row.crystal->utf8;
    cells[1].text = question.uarts[index].uart;
    cells[2].text = std::to_string(question.uarts[index].baud);
    if (row.result.plan) {
      const PlannedUart& planned = row.result.plan->uarts.at(index);
      const BaudTarget& target = *planned.target;
      cells[3].text = target.name;
      cells[4].text = text::GbkToUtf8(TimerText(target.timer, language)).value_or(target.timer);
      cells[5].text = ClockChoiceText(target, planned.setting.clockIndex);
      cells[6].text = std::to_string(planned.setting.smod);
      cells[7].text = TargetReloadText(target, planned.setting.reload);
      cells[8].text = DecimalText(planned.setting.achieved);
      cells[kPlanTableDeviationColumn] = {FormatDeviation(planned.setting.deviation) + "%",
                                          IsWithinTolerance(planned.setting) ? CellColour::Blue : CellColour::Red};
    }
    cells[10].text = outcomeText;
  }
  return rows;
}

void WritePlanTableFile(TableText& table, std::span<const TableInput> crystals, const PlanTableQuestion& question,
                        TableFile file, Language language) {
  std::string& text = table.Text();
  if (file == TableFile::Csv) {
    text += kCsvHeading;
  } else {
    AppendMarkdownHeader(text, PlanTableHeadings(language), kPlanTableRightAligned);
  }
  for (const TableInput& crystal : crystals) {
    const PlanTableRow row = MakePlanTableRow(crystal, question);
    if (file == TableFile::Csv) {
      AppendCsvRows(text, row, question);
    } else {
      for (const PlanTableCells& cells : PlanTableRowCells(row, question, language)) {
        AppendMarkdownRow(text, cells);
      }
    }
    table.EndRow();
  }
}

}  // namespace tesmirol::answers
