#pragma once
// The crystal finder on a target or chip family: one crystal and one rate
// solved for the targets, with what its best setting gives the code. The
// command line's --target --table writes these rows in its four formats;
// the page shows one rate against every crystal preset, with the best
// setting's link, ranked by it when asked.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// What SIO_Init would be for the row: code, a warning (the best setting is
// beyond the dialog's 1 %), no setting in range (the rate is too low or too
// high for every target), or no result (the texts do not read).
enum class FinderOutcome { Code, Warning, TooLow, TooHigh, NoResult };

struct TargetFinderRow {
  std::optional<TargetInputs> inputs;    // none: the texts give no result
  std::optional<FamilySolution> family;  // with inputs
  FinderOutcome outcome = FinderOutcome::NoResult;

  // The best target's solution; null when none is in range.
  [[nodiscard]] const TargetSolution* Best() const noexcept;
  // The status of the row: the best target's, else the first target's; none
  // without a result.
  [[nodiscard]] std::optional<TargetStatus> Status() const noexcept;
};

// Solves the crystal and rate (GBK) for the targets.
TargetFinderRow SolveTargetFinderRow(std::string_view crystalGbk, std::string_view baudGbk,
                                     std::span<const BaudTarget* const> targets);

// The page's finder: every crystal preset against one rate, with the best
// setting's link.
struct TargetFinder {
  LinkQuestion link;
  std::vector<std::string_view> crystals;  // the presets, ASCII
  std::vector<TargetFinderRow> rows;       // by crystal
  std::vector<QuestionLink> links;         // by crystal
  std::vector<std::size_t> order;          // the rows as shown
};

// No rows when the rate is not GBK or the name and UART read no targets.
TargetFinder AnswerTargetFinder(const GbkText& baud, const GbkText& name, const GbkText& uart, const LinkTexts& link,
                                bool rankByLink);

// The rows as shown: [{"crystal", "status" (null without a result),
// "target", "best" (the setting or null), "outcome" ("Code", "Warning",
// "Nothing"), "link" (WriteQuestionLinkSummary)}].
void WriteTargetFinder(JsonWriter& json, const TargetFinder& finder);

}  // namespace tesmirol::answers
