#include "cli/target_table.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

#include "answers/target_finder.h"
#include "cli/plan_texts.h"
#include "cli/table_output.h"
#include "cli/target_report.h"
#include "cli/utf8_text.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::cli {
namespace {

constexpr std::size_t kColumns = 9;
constexpr std::array<bool, kColumns> kRightAligned = {false, true, false, false, true, false, true, true, false};
constexpr std::size_t kDeviationColumn = 7;

constexpr std::string_view kCsvHeading =
    "crystal,baud,target,status,clocks_per_cycle,smod,reload,reload_high,reload_low,rate_numerator,"
    "rate_denominator,rate,deviation,outcome\n";

// One crystal and one rate solved for the targets (answers::SolveTargetFinderRow).
struct TargetRow {
  const InputText* crystal = nullptr;
  const InputText* baud = nullptr;
  answers::TargetFinderRow answer;
  const TargetSolution* best = nullptr;  // into answer; nullptr when none is Ok
};

template <typename Visit>
void ForEachRow(std::span<const InputText> crystals, std::span<const InputText> bauds,
                const std::vector<const BaudTarget*>& targets, Visit visit) {
  for (const InputText& crystal : crystals) {
    for (const InputText& baud : bauds) {
      TargetRow row{&crystal, &baud, answers::SolveTargetFinderRow(crystal.gbk, baud.gbk, targets), nullptr};
      row.best = row.answer.Best();
      visit(row);
    }
  }
}

// "code", "warning", "too low", "too high", "no result": what SIO_Init would
// be, in English for CSV and JSON, which are the same in every language.
std::string OutcomeText(const TargetRow& row) {
  constexpr std::array<std::string_view, 5> kNames = {"code", "warning", "too low", "too high", "no result"};
  return std::string(kNames.at(static_cast<std::size_t>(row.answer.outcome)));
}

// The same in the language, for the text and Markdown tables.
std::string OutcomeText(const TargetRow& row, Language language) {
  constexpr std::array<TextKey, 5> kKeys = {TextKey::TableCode, TextKey::TableWarning, TextKey::TableTooLow,
                                            TextKey::TableTooHigh, TextKey::TableNoResult};
  return Utf8Text(language, kKeys.at(static_cast<std::size_t>(row.answer.outcome)));
}

// The row's status name ("TooLow"); empty without a result.
std::string StatusText(const TargetRow& row) {
  const std::optional<TargetStatus> status = row.answer.Status();
  return status ? std::string(TargetStatusName(*status)) : std::string();
}

// The column headings in the language.
std::array<std::string, kColumns> Headings(Language language) {
  return {Utf8Text(language, TextKey::TableCrystal),
          Utf8Text(language, TextKey::TableBaud),
          Utf8Text(language, TextKey::TableTarget),
          Utf8Text(language, TextKey::TableClock),
          "SMOD",
          Utf8Text(language, TextKey::TableReload),
          Utf8Text(language, TextKey::TableRate),
          Utf8Text(language, TextKey::TableDeviation),
          Utf8Text(language, TextKey::TableCode)};
}

using TextRow = std::array<std::string, kColumns>;

TextRow MakeTextRow(const TargetRow& row, Language language) {
  TextRow cells;
  cells[0] = row.crystal->utf8;
  cells[1] = row.baud->utf8;
  if (row.best != nullptr) {
    const TargetSetting& setting = row.best->best;
    cells[2] = row.best->target->name;
    cells[3] = ClockChoiceText(*row.best->target, setting.clockIndex);
    cells[4] = std::to_string(setting.smod);
    cells[5] = TargetReloadText(*row.best->target, setting.reload);
    cells[6] = DecimalText(setting.achieved);
    cells[kDeviationColumn] = FormatDeviation(setting.deviation);
    cells[kDeviationColumn] += '%';
  } else {
    for (std::size_t column = 2; column <= kDeviationColumn; ++column) {
      cells.at(column).assign(1, '-');
    }
  }
  cells[8] = OutcomeText(row, language);
  return cells;
}

// The aligned text table. The rows are solved once and kept for the second
// pass that writes them: solving a family's targets costs more than holding
// the cells.
void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               const std::vector<const BaudTarget*>& targets, bool colour, Language language) {
  std::vector<ColouredRow<kColumns>> rows;
  rows.reserve(crystals.size() * bauds.size());
  ForEachRow(crystals, bauds, targets, [&rows, language](const TargetRow& row) {
    rows.emplace_back(MakeTextRow(row, language), row.answer.outcome == answers::FinderOutcome::Warning);
  });
  AppendAlignedTable(output, Headings(language), kRightAligned, kDeviationColumn, rows, colour);
}

void MarkdownTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
                   const std::vector<const BaudTarget*>& targets, Language language) {
  std::string& table = output.Text();
  AppendMarkdownHeader(table, Headings(language), kRightAligned);
  ForEachRow(crystals, bauds, targets, [&table, &output, language](const TargetRow& row) {
    table += "|";
    for (const std::string& cell : MakeTextRow(row, language)) {
      table += ' ';
      table += MarkdownCell(cell);
      table += " |";
    }
    table += '\n';
    output.EndRow();
  });
}

void CsvTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
              const std::vector<const BaudTarget*>& targets) {
  std::string& table = output.Text();
  table += kCsvHeading;
  ForEachRow(crystals, bauds, targets, [&table, &output](const TargetRow& row) {
    table += CsvField(row.crystal->utf8);
    table += ',';
    table += CsvField(row.baud->utf8);
    table += ',';
    if (row.best == nullptr) {
      table += ',';
      table += StatusText(row);
      table += ",,,,,,,,,,";
      table += OutcomeText(row);
      table += '\n';
      output.EndRow();
      return;
    }
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
    table += OutcomeText(row);
    table += '\n';
    output.EndRow();
  });
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const InputText> bauds,
               const std::vector<const BaudTarget*>& targets) {
  JsonRows rows(output);
  ForEachRow(crystals, bauds, targets, [&rows](const TargetRow& row) {
    nlohmann::ordered_json object;
    object["crystal"] = row.crystal->utf8;
    object["baud"] = row.baud->utf8;
    if (row.best != nullptr) {
      object["target"] = row.best->target->name;
      object["status"] = "Ok";
      object["best"] = SettingJson(*row.best->target, row.best->best);
    } else {
      object["target"] = nullptr;
      object["status"] = row.answer.Status() ? nlohmann::ordered_json(StatusText(row)) : nlohmann::ordered_json();
      object["best"] = nullptr;
    }
    object["outcome"] = OutcomeText(row);
    rows.Append(object.dump());
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
      CsvTable(output, crystals, bauds, targets);
      break;
    case TableFormat::Markdown:
      MarkdownTable(output, crystals, bauds, targets, language);
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
