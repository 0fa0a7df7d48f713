#include "answers/target_table.h"

#include <optional>

#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {
namespace {

constexpr std::string_view kCsvHeading =
    "crystal,baud,target,status,clocks_per_cycle,smod,reload,reload_high,reload_low,rate_numerator,"
    "rate_denominator,rate,deviation,outcome\n";

// The row's status name ("TooLow"); empty without a result.
std::string StatusText(const TargetTableRow& row) {
  const std::optional<TargetStatus> status = row.answer.Status();
  return status ? std::string(TargetStatusName(*status)) : std::string();
}

void AppendCsvRow(std::string& table, const TargetTableRow& row) {
  table += CsvField(row.crystal->utf8);
  table += ',';
  table += CsvField(row.baud->utf8);
  table += ',';
  if (row.best == nullptr) {
    table += ',';
    table += StatusText(row);
    table += ",,,,,,,,,,";
  } else {
    const TargetSetting& setting = row.best->best;
    const BaudTarget& target = *row.best->target;
    for (const std::string& field :
         {target.name, std::string("Ok"), std::to_string(setting.clocksPerCycle), std::to_string(setting.smod),
          TargetReloadText(target, setting.reload), std::to_string(setting.reloadHigh),
          std::to_string(setting.reloadLow), std::to_string(setting.achievedNumerator),
          std::to_string(setting.achievedDenominator), DecimalText(setting.achieved),
          FormatDeviation(setting.deviation)}) {
      table += field;
      table += ',';
    }
  }
  table += TargetTableOutcome(row);
  table += '\n';
}

}  // namespace

std::string_view TargetTableOutcome(const TargetTableRow& row) {
  constexpr std::array<std::string_view, 5> kNames = {"code", "warning", "too low", "too high", "no result"};
  return kNames.at(static_cast<std::size_t>(row.answer.outcome));
}

std::array<std::string, kTargetTableColumns> TargetTableHeadings(Language language) {
  return {TableWord(language, TextKey::TableCrystal),
          TableWord(language, TextKey::TableBaud),
          TableWord(language, TextKey::TableTarget),
          TableWord(language, TextKey::TableClock),
          "SMOD",
          TableWord(language, TextKey::TableReload),
          TableWord(language, TextKey::TableRate),
          TableWord(language, TextKey::TableDeviation),
          TableWord(language, TextKey::TableCode)};
}

std::array<TableCell, kTargetTableColumns> TargetTableCells(const TargetTableRow& row, Language language) {
  constexpr std::array<TextKey, 5> kOutcomes = {TextKey::TableCode, TextKey::TableWarning, TextKey::TableTooLow,
                                                TextKey::TableTooHigh, TextKey::TableNoResult};
  std::array<TableCell, kTargetTableColumns> cells;
  cells[0].text = row.crystal->utf8;
  cells[1].text = row.baud->utf8;
  if (row.best != nullptr) {
    const TargetSetting& setting = row.best->best;
    cells[2].text = row.best->target->name;
    cells[3].text = ClockChoiceText(*row.best->target, setting.clockIndex);
    cells[4].text = std::to_string(setting.smod);
    cells[5].text = TargetReloadText(*row.best->target, setting.reload);
    cells[6].text = DecimalText(setting.achieved);
    cells[kTargetTableDeviationColumn] = {
        FormatDeviation(setting.deviation) + "%",
        row.answer.outcome == FinderOutcome::Warning ? CellColour::Red : CellColour::Blue};
  } else {
    for (std::size_t column = 2; column <= kTargetTableDeviationColumn; ++column) {
      cells.at(column).text.assign(1, '-');
    }
  }
  cells[8].text = TableWord(language, kOutcomes.at(static_cast<std::size_t>(row.answer.outcome)));
  return cells;
}

void WriteTargetTableFile(TableText& table, std::span<const TableInput> crystals, std::span<const TableInput> bauds,
                          std::span<const BaudTarget* const> targets, TableFile file, Language language) {
  std::string& text = table.Text();
  if (file == TableFile::Csv) {
    text += kCsvHeading;
  } else {
    AppendMarkdownHeader(text, TargetTableHeadings(language), kTargetTableRightAligned);
  }
  ForEachTargetTableRow(crystals, bauds, targets, [&](const TargetTableRow& row) {
    if (file == TableFile::Csv) {
      AppendCsvRow(text, row);
    } else {
      AppendMarkdownRow(text, TargetTableCells(row, language));
    }
    table.EndRow();
  });
}

}  // namespace tesmirol::answers
