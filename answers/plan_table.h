#pragma once
// The plan on each crystal (--table CRYSTAL --target NAME --uart A:RATE
// --uart B:RATE): which generator, timer, clock and reload every UART gets
// on each crystal of the list, or that the UARTs cannot be served together
// there; its cells in the user's language, and the table as CSV and
// Markdown.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/table_text.h"
#include "engine/language.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// One UART of the plan and its rate.
struct PlanTableUart {
  std::string uart;  // the catalogue's name, "UART2"
  std::int32_t baud = 0;
};

// The UARTs planned together on the chip, every one held to the tolerance.
struct PlanTableQuestion {
  std::vector<PlanTableUart> uarts;  // at least one
  std::vector<const BaudTarget*> chipTargets;
  double tolerancePercent = 1.0;
  std::string toleranceText = "1";  // as the user would write it, for the conflict's words
};

// The plan on one crystal.
struct PlanTableRow {
  const TableInput* crystal = nullptr;
  std::optional<TargetInputs> inputs;  // none: the crystal gives no result
  std::vector<UartRequest> requests;
  PlanResult result;
  std::string conflictMessage;  // in English, when there is no plan
};

// Plans the UARTs on the crystal.
PlanTableRow MakePlanTableRow(const TableInput& crystal, const PlanTableQuestion& question);

// "code" when every UART is within 1 % (the generated code's rule),
// "warning" beyond it, "conflict" without a plan, "no result" when the
// crystal gives none: the same in every language.
std::string_view PlanTableOutcome(const PlanTableRow& row);

inline constexpr std::size_t kPlanTableColumns = 11;
inline constexpr std::size_t kPlanTableDeviationColumn = 9;
inline constexpr std::array<bool, kPlanTableColumns> kPlanTableRightAligned = {false, false, true, false, false, false,
                                                                               true,  false, true, true,  false};

std::array<std::string, kPlanTableColumns> PlanTableHeadings(Language language);

using PlanTableCells = std::array<TableCell, kPlanTableColumns>;

// The rows of one crystal, a row per UART: crystal, UART, rate, target,
// timer, clock, SMOD, reload, achieved rate, deviation ("-" without a
// plan) and the plan's outcome in the language; the deviation blue within
// 1 %, red beyond.
std::vector<PlanTableCells> PlanTableRowCells(const PlanTableRow& row, const PlanTableQuestion& question,
                                              Language language);

// Every crystal's plan as CSV or as a Markdown table in the language, UTF-8
// ending in a line feed.
void WritePlanTableFile(TableText& table, std::span<const TableInput> crystals, const PlanTableQuestion& question,
                        TableFile file, Language language);

}  // namespace tesmirol::answers
