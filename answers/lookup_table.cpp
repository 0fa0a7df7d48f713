#include "answers/lookup_table.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>
#include <string>

#include "answers/classic_table.h"
#include "answers/classic_table_json.h"
#include "answers/plan_question.h"
#include "answers/plan_table_json.h"
#include "answers/target_question.h"
#include "answers/target_table.h"
#include "answers/target_table_json.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The one text given, or every preset of the list for an empty one.
std::vector<TableInput> TableInputs(const std::string& gbk, std::span<const std::string_view> presets) {
  std::vector<TableInput> inputs;
  if (!gbk.empty()) {
    inputs.push_back({text::GbkToUtf8(gbk).value_or(std::string()), gbk});
    return inputs;
  }
  inputs.resize(presets.size());
  std::transform(presets.begin(), presets.end(), inputs.begin(), [](std::string_view preset) {
    return TableInput{std::string(preset), std::string(preset)};  // presets are ASCII
  });
  return inputs;
}

// The plan's UARTs read as the page's plan reads them, on any crystal that
// reads (each row plans them on its own).
void ReadPlan(LookupTable& table, const LookupTableTexts& texts) {
  PlanTexts plan{std::string(CrystalPresets().front()), texts.target, {{texts.uart, texts.baud, false, {}}}};
  for (const auto& [uart, baud] : texts.otherUarts) {
    plan.requests.push_back({uart, baud, false, {}});
  }
  const PlanQuestion question = ReadPlanQuestion(plan, LinkTexts{});
  table.problem = question.problem;
  table.problemRequest = question.problemRequest;
  for (const UartRequest& request : question.requests) {
    table.plan.uarts.push_back({request.uart, request.baud});
  }
  table.plan.chipTargets = question.choice.chipTargets;
  table.plan.tolerancePercent = kPlanTolerancePercent;
  table.plan.toleranceText = std::string(kPlanToleranceText);
}

std::string_view ColourName(CellColour colour) {
  return colour == CellColour::Blue ? "blue" : colour == CellColour::Red ? "red" : "";
}

// A shown row's cells, kept while the rows are written.
using ShownRow = std::vector<TableCell>;

template <std::size_t N>
ShownRow Shown(const std::array<TableCell, N>& cells) {
  return {cells.begin(), cells.end()};
}

template <std::size_t N>
void WriteHeadings(JsonWriter& json, const std::array<std::string, N>& headings) {
  json.Key("headings");
  json.BeginArray();
  for (const std::string& heading : headings) {
    json.String(heading);
  }
  json.EndArray();
}

// The rows from row up to end (rows of the answer: a crystal and rate, or a
// crystal of the plan), then the cells of their shown rows.
void WriteRows(JsonWriter& json, const LookupTable& table, std::size_t row, std::size_t end, Language language) {
  const std::size_t bauds = std::max<std::size_t>(table.bauds.size(), 1);
  std::vector<ShownRow> shown;
  json.Key("rows");
  json.BeginArray();
  for (std::size_t index = row; index < end; ++index) {
    const TableInput& crystal = table.crystals.at(table.kind == LookupKind::Plan ? index : index / bauds);
    switch (table.kind) {
      case LookupKind::Classic: {
        const ClassicTableRow answer = MakeClassicTableRow(crystal, table.bauds.at(index % bauds));
        WriteClassicTableRow(json, answer.crystal->utf8, answer.baud->utf8, answer.calculation);
        shown.push_back(Shown(ClassicTableCells(answer, language)));
        break;
      }
      case LookupKind::Target: {
        const TableInput& baud = table.bauds.at(index % bauds);
        ForEachTargetTableRow(std::span(&crystal, 1), std::span(&baud, 1), table.targets,
                              [&](const TargetTableRow& answer) {
                                WriteTargetTableRow(json, answer);
                                shown.push_back(Shown(TargetTableCells(answer, language)));
                              });
        break;
      }
      case LookupKind::Plan: {
        const PlanTableRow answer = MakePlanTableRow(crystal, table.plan);
        WritePlanTableRow(json, answer);
        const std::vector<PlanTableCells> uarts = PlanTableRowCells(answer, table.plan, language);
        std::transform(uarts.begin(), uarts.end(), std::back_inserter(shown),
                       [](const PlanTableCells& cells) { return Shown(cells); });
        break;
      }
    }
  }
  json.EndArray();
  json.Key("cells");
  json.BeginArray();
  for (const ShownRow& cells : shown) {
    json.BeginArray();
    for (const TableCell& cell : cells) {
      json.BeginArray();
      json.String(cell.text);
      json.String(ColourName(cell.colour));
      json.EndArray();
    }
    json.EndArray();
  }
  json.EndArray();
}

}  // namespace

std::size_t LookupTable::ShownRows() const noexcept {
  if (!problem.empty()) {
    return 0;
  }
  return kind == LookupKind::Plan ? crystals.size() * plan.uarts.size() : crystals.size() * bauds.size();
}

LookupTable ReadLookupTable(const LookupTableTexts& texts) {
  LookupTable table;
  const std::string target = texts.target.value_or(std::string());
  table.kind = target == "classic"        ? LookupKind::Classic
               : texts.otherUarts.empty() ? LookupKind::Target
                                          : LookupKind::Plan;
  if (!texts.crystal) {
    table.problem = "crystalNotGbk";
    return table;
  }
  table.crystals = TableInputs(*texts.crystal, CrystalPresets());
  if (table.kind == LookupKind::Plan) {
    ReadPlan(table, texts);
    return table;
  }
  if (!texts.baud) {
    table.problem = "baudNotGbk";
    return table;
  }
  table.bauds = TableInputs(*texts.baud, BaudPresets());
  if (table.kind == LookupKind::Target) {
    const TargetQuestion question = ReadTargetChoice(texts.target, texts.uart);
    table.problem = question.problem;
    table.targets = question.targets;
  }
  return table;
}

void WriteLookupRows(JsonWriter& json, const LookupTable& table, std::size_t from, std::size_t to, Language language) {
  constexpr std::array<std::string_view, 3> kKinds = {"classic", "target", "plan"};
  const std::size_t count = table.ShownRows();
  json.BeginObject();
  json.StringMember("kind", kKinds.at(static_cast<std::size_t>(table.kind)));
  json.Key("problem");
  if (table.problem.empty()) {
    json.Null();
  } else {
    json.String(table.problem);
  }
  json.Key("request");
  if (table.problemRequest) {
    json.Int(static_cast<std::int64_t>(*table.problemRequest));
  } else {
    json.Null();
  }
  json.IntMember("count", static_cast<std::int64_t>(count));
  switch (table.kind) {
    case LookupKind::Classic:
      WriteHeadings(json, ClassicTableHeadings(language));
      break;
    case LookupKind::Target:
      WriteHeadings(json, TargetTableHeadings(language));
      break;
    case LookupKind::Plan:
      WriteHeadings(json, PlanTableHeadings(language));
      break;
  }
  // A plan's crystal shows a row a UART: its rows are whole crystals.
  const std::size_t perRow = table.kind == LookupKind::Plan ? std::max<std::size_t>(table.plan.uarts.size(), 1) : 1;
  const std::size_t end = std::min(to, count);
  const std::size_t first = std::min(from, end) / perRow;
  json.IntMember("first", static_cast<std::int64_t>(first * perRow));
  WriteRows(json, table, first, (end + perRow - 1) / perRow, language);
  json.EndObject();
}

void WriteLookupFile(TableText& text, const LookupTable& table, TableFile file, Language language) {
  if (!table.problem.empty()) {
    return;
  }
  switch (table.kind) {
    case LookupKind::Classic:
      WriteClassicTableFile(text, table.crystals, table.bauds, file, language);
      break;
    case LookupKind::Target:
      WriteTargetTableFile(text, table.crystals, table.bauds, table.targets, file, language);
      break;
    case LookupKind::Plan:
      WritePlanTableFile(text, table.crystals, table.plan, file, language);
      break;
  }
}

}  // namespace tesmirol::answers
