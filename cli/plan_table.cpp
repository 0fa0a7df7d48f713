#include "cli/plan_table.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "answers/json_writer.h"
#include "answers/plan_json.h"
#include "cli/plan_texts.h"
#include "cli/table_output.h"
#include "cli/uart_requests.h"
#include "cli/utf8_text.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

constexpr std::size_t kColumns = 11;
constexpr std::array<bool, 11> kRightAligned = {false, false, true, false, false, false,
                                                true,  false, true, true,  false};
constexpr std::size_t kDeviationColumn = 9;

constexpr std::string_view kCsvHeading =
    "crystal,uart,baud,target,timer,clocks_per_cycle,smod,reload,rate_numerator,rate_denominator,rate,deviation,"
    "outcome\n";

// The plan on one crystal.
struct PlanRow {
  const InputText* crystal = nullptr;
  std::optional<TargetInputs> inputs;  // none: the crystal gives no result
  std::vector<UartRequest> requests;
  PlanResult result;
  std::string conflictMessage;  // when there is no plan
};

template <typename Visit>
void ForEachCrystal(std::span<const InputText> crystals, std::span<const UartChoice> uarts,
                    const std::vector<const BaudTarget*>& chipTargets, double tolerance, Visit visit) {
  for (const InputText& crystal : crystals) {
    PlanRow row;
    row.crystal = &crystal;
    // Every UART has its rate: the first stands in for BAUD, which no
    // request uses.
    row.inputs = ReadTargetInputs(crystal.gbk, std::to_string(uarts.front().baud.value_or(1)));
    if (row.inputs) {
      row.requests = MakeUartRequests(uarts, *row.inputs);
      row.result = PlanUarts(chipTargets, *row.inputs, row.requests, tolerance);
      if (!row.result.plan) {
        row.conflictMessage = PlanConflictText(row.result.conflict.value_or(PlanConflict{}), row.requests, chipTargets,
                                               "the chip", *row.inputs, tolerance, Language::English);
      }
    }
    visit(row);
  }
}

// "code" when every UART is within 1 % (the generated code's rule),
// "warning" beyond it, "conflict" without a plan, "no result" when the
// crystal gives none.
std::string OutcomeText(const PlanRow& row) {
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

using TextRow = std::array<std::string, kColumns>;

// The column headings in the language.
TextRow Headings(Language language) {
  return {Utf8Text(language, TextKey::TableCrystal),
          "UART",
          Utf8Text(language, TextKey::TableBaud),
          Utf8Text(language, TextKey::TableTarget),
          Utf8Text(language, TextKey::TableTimer),
          Utf8Text(language, TextKey::TableClock),
          "SMOD",
          Utf8Text(language, TextKey::TableReload),
          Utf8Text(language, TextKey::TableRate),
          Utf8Text(language, TextKey::TableDeviation),
          Utf8Text(language, TextKey::TablePlan)};
}

// The outcome column in the language, for the text and Markdown tables.
std::string OutcomeText(const PlanRow& row, Language language) {
  const std::string outcome = OutcomeText(row);
  if (outcome == "no result") {
    return Utf8Text(language, TextKey::TableNoResult);
  }
  if (outcome == "conflict") {
    return Utf8Text(language, TextKey::TableConflict);
  }
  return Utf8Text(language, outcome == "code" ? TextKey::TableCode : TextKey::TableWarning);
}

// The rows of one crystal: a row per UART.
std::vector<std::pair<TextRow, bool>> MakeTextRows(const PlanRow& row, std::span<const UartChoice> uarts,
                                                   Language language) {
  std::vector<std::pair<TextRow, bool>> rows;
  const std::string outcome = OutcomeText(row, language);
  for (std::size_t index = 0; index < uarts.size(); ++index) {
    TextRow cells;
    cells.fill("-");
    cells[0] = row.crystal->utf8;
    cells[1] = uarts[index].uart;
    cells[2] = std::to_string(uarts[index].baud.value_or(0));
    bool red = false;
    if (row.result.plan) {
      const PlannedUart& planned = row.result.plan->uarts.at(index);
      const BaudTarget& target = *planned.target;
      cells[3] = target.name;
      cells[4] = text::GbkToUtf8(TimerText(target.timer, language)).value_or(target.timer);
      cells[5] = ClockChoiceText(target, planned.setting.clockIndex);
      cells[6] = std::to_string(planned.setting.smod);
      cells[7] = TargetReloadText(target, planned.setting.reload);
      cells[8] = DecimalText(planned.setting.achieved);
      cells[kDeviationColumn] = FormatDeviation(planned.setting.deviation) + "%";
      red = !IsWithinTolerance(planned.setting);
    }
    cells[10] = outcome;
    rows.emplace_back(std::move(cells), red);
  }
  return rows;
}

void TextTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
               const std::vector<const BaudTarget*>& chipTargets, double tolerance, bool colour, Language language) {
  std::vector<ColouredRow<kColumns>> rows;
  ForEachCrystal(crystals, uarts, chipTargets, tolerance, [&](const PlanRow& row) {
    auto uartRows = MakeTextRows(row, uarts, language);
    rows.insert(rows.end(), std::make_move_iterator(uartRows.begin()), std::make_move_iterator(uartRows.end()));
  });
  AppendAlignedTable(output, Headings(language), kRightAligned, kDeviationColumn, rows, colour);
}

void MarkdownTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
                   const std::vector<const BaudTarget*>& chipTargets, double tolerance, Language language) {
  std::string& table = output.Text();
  AppendMarkdownHeader(table, Headings(language), kRightAligned);
  ForEachCrystal(crystals, uarts, chipTargets, tolerance, [&](const PlanRow& row) {
    for (const auto& [cells, red] : MakeTextRows(row, uarts, language)) {
      table += "|";
      for (const std::string& cell : cells) {
        table += ' ' + MarkdownCell(cell) + " |";
      }
      table += '\n';
    }
    output.EndRow();
  });
}

void CsvTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
              const std::vector<const BaudTarget*>& chipTargets, double tolerance) {
  std::string& table = output.Text();
  table += kCsvHeading;
  ForEachCrystal(crystals, uarts, chipTargets, tolerance, [&](const PlanRow& row) {
    const std::string outcome = OutcomeText(row);
    for (std::size_t index = 0; index < uarts.size(); ++index) {
      table += CsvField(row.crystal->utf8) + "," + uarts[index].uart + "," +
               std::to_string(uarts[index].baud.value_or(0)) + ",";
      if (row.result.plan) {
        const PlannedUart& planned = row.result.plan->uarts.at(index);
        const TargetSetting& setting = planned.setting;
        const BaudTarget& target = *planned.target;
        for (const std::string& field :
             {target.name, target.timer, std::to_string(setting.clocksPerCycle), std::to_string(setting.smod),
              TargetReloadText(target, setting.reload), std::to_string(setting.achievedNumerator),
              std::to_string(setting.achievedDenominator), DecimalText(setting.achieved),
              FormatDeviation(setting.deviation)}) {
          table += field + ",";
        }
      } else {
        table += ",,,,,,,,,";
      }
      table += outcome + "\n";
    }
    output.EndRow();
  });
}

void JsonTable(ChunkedOutput& output, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
               const std::vector<const BaudTarget*>& chipTargets, double tolerance) {
  JsonRows rows(output);
  ForEachCrystal(crystals, uarts, chipTargets, tolerance, [&](const PlanRow& row) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    json.BeginObject();
    json.StringMember("crystal", row.crystal->utf8);
    json.Key("plan");
    answers::WritePlanEntries(json, row.result, {});
    json.Key("conflict");
    if (row.inputs && row.result.conflict) {
      answers::WritePlanConflict(json, *row.result.conflict, row.requests, row.conflictMessage);
    } else {
      json.Null();
    }
    json.StringMember("outcome", OutcomeText(row));
    json.EndObject();
    rows.Append(json.Text());
  });
  rows.Close();
}

}  // namespace

void WritePlanTable(std::ostream& out, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
                    const std::vector<const BaudTarget*>& chipTargets, double tolerancePercent, TableFormat format,
                    bool colour, Language language) {
  ChunkedOutput output(out);
  switch (format) {
    case TableFormat::Csv:
      CsvTable(output, crystals, uarts, chipTargets, tolerancePercent);
      break;
    case TableFormat::Markdown:
      MarkdownTable(output, crystals, uarts, chipTargets, tolerancePercent, language);
      break;
    case TableFormat::Json:
      JsonTable(output, crystals, uarts, chipTargets, tolerancePercent);
      break;
    case TableFormat::Text:
      TextTable(output, crystals, uarts, chipTargets, tolerancePercent, colour, language);
      break;
  }
  output.Flush();
}

}  // namespace tesmirol::cli
