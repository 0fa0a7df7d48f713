#include "answers/target_finder.h"

#include "answers/setting_json.h"
#include "answers/target_question.h"
#include "engine/target_texts.h"
#include "res/preset_lists.h"

namespace tesmirol::answers {

const TargetSolution* TargetFinderRow::Best() const noexcept { return family ? family->Chosen() : nullptr; }

std::optional<TargetStatus> TargetFinderRow::Status() const noexcept {
  if (!family) {
    return std::nullopt;
  }
  const TargetSolution* best = Best();
  return best != nullptr ? best->status : family->solutions.front().status;
}

TargetFinderRow SolveTargetFinderRow(std::string_view crystalGbk, std::string_view baudGbk,
                                     std::span<const BaudTarget* const> targets) {
  TargetFinderRow row;
  row.inputs = ReadTargetInputs(crystalGbk, baudGbk);
  if (!row.inputs) {
    return row;
  }
  row.family = SolveTargets(targets, *row.inputs);
  if (const TargetSolution* best = row.Best()) {
    row.outcome = IsWithinTolerance(best->best) ? FinderOutcome::Code : FinderOutcome::Warning;
  } else {
    row.outcome =
        row.family->solutions.front().status == TargetStatus::TooLow ? FinderOutcome::TooLow : FinderOutcome::TooHigh;
  }
  return row;
}

TargetFinder AnswerTargetFinder(const GbkText& baud, const GbkText& name, const GbkText& uart, const LinkTexts& link,
                                bool rankByLink) {
  TargetFinder finder;
  const TargetQuestion question = ReadTargetChoice(name, uart);
  if (!baud || !question.problem.empty()) {
    return finder;
  }
  finder.link = ReadLinkQuestion(link);
  for (const std::string_view crystal : CrystalPresets()) {
    finder.crystals.push_back(crystal);
    const TargetFinderRow& row = finder.rows.emplace_back(SolveTargetFinderRow(crystal, *baud, question.targets));
    const TargetSolution* best = row.Best();
    finder.links.push_back(
        finder.link.asked && row.inputs
            ? AnswerQuestionLink(finder.link, SettingOwnRate(best != nullptr ? &best->best : nullptr), row.inputs->baud)
            : AnswerQuestionLink(finder.link, {}, 0));
  }
  finder.order = FinderOrder(finder.links, rankByLink);
  return finder;
}

void WriteTargetFinder(JsonWriter& json, const TargetFinder& finder) {
  json.BeginArray();
  for (const std::size_t index : finder.order) {
    const TargetFinderRow& row = finder.rows.at(index);
    json.BeginObject();
    json.StringMember("crystal", finder.crystals.at(index));  // the presets are ASCII
    json.Key("status");
    if (const std::optional<TargetStatus> status = row.Status()) {
      const TargetSolution* best = row.Best();
      json.String(TargetStatusName(*status));
      json.StringMember("target", best != nullptr ? best->target->name : std::string());
      json.Key("best");
      if (best != nullptr) {
        WriteSetting(json, *best->target, best->best);
      } else {
        json.Null();
      }
      json.Key("outcome");
      json.String(row.outcome == FinderOutcome::Code      ? "Code"
                  : row.outcome == FinderOutcome::Warning ? "Warning"
                                                          : "Nothing");
      json.Key("link");
      WriteQuestionLinkSummary(json, finder.link, finder.links.at(index));
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace tesmirol::answers
