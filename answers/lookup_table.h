#pragma once
// The page's lookup table, which lists what tesmirol-cli --table lists: the
// classic Timer 1, a target's (or family's UART's) best setting, or the
// plan of several UARTs, over the crystal typed or every crystal preset and
// the rate typed or every rate preset. Its rows are made a slice at a
// time, as the page shows them; its CSV and Markdown are made whole.

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/plan_table.h"
#include "answers/table_text.h"
#include "engine/language.h"

namespace tesmirol::answers {

// The page's texts (GBK): the crystal and the rate (an empty one stands
// for every preset), the target ("classic" for the classic Timer 1) and
// its UART, and the other UARTs of the page's plan with their rates. With
// other UARTs the table is the plan's, on every crystal given, and the
// rate is the first UART's.
struct LookupTableTexts {
  GbkText crystal;
  GbkText baud;
  GbkText target;
  GbkText uart;
  std::vector<std::pair<GbkText, GbkText>> otherUarts;
};

enum class LookupKind { Classic, Target, Plan };

// The texts read: what the table lists and over what, or the problem
// ("crystalNotGbk", "baudNotGbk", "unknownTarget", "unknownUart", or a
// plan's: "uartTwice", "rateNoResult" for problemRequest).
struct LookupTable {
  LookupKind kind = LookupKind::Classic;
  std::string_view problem;  // empty when everything was read
  std::optional<std::size_t> problemRequest;
  std::vector<TableInput> crystals;
  std::vector<TableInput> bauds;
  std::vector<const BaudTarget*> targets;  // the target's
  PlanTableQuestion plan;                  // the plan's

  // The rows shown: a row a crystal and rate, or a row a crystal and UART
  // of the plan.
  [[nodiscard]] std::size_t ShownRows() const noexcept;
};

LookupTable ReadLookupTable(const LookupTableTexts& texts);

// {"kind" ("classic", "target", "plan"), "problem" (null when read),
// "request" (the plan's UART with the problem, or null), "count" (the rows
// shown), "headings" (the text table's, in the language), "first" (the
// shown row of the first cells), "rows" (the rows that hold the shown rows
// from first up to to, as tesmirol-cli --table --format json writes them:
// WriteClassicTableRow, WriteTargetTableRow or WritePlanTableRow), "cells"
// (each shown row's cells as [text, colour ("blue", "red" or "")], as the
// text and Markdown tables write them)}.
void WriteLookupRows(JsonWriter& json, const LookupTable& table, std::size_t from, std::size_t to, Language language);

// The whole table as CSV or Markdown in the language, as tesmirol-cli
// --table --format csv|markdown writes it; nothing when it was not read.
void WriteLookupFile(TableText& text, const LookupTable& table, TableFile file, Language language);

}  // namespace tesmirol::answers
