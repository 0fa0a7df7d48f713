#include "web/bridge/finder_answers.h"

#include <array>
#include <cstddef>
#include <optional>

#include "answers/clock_finder_answer.h"
#include "answers/clock_finder_json.h"
#include "answers/finder_texts.h"
#include "answers/rates_finder_answer.h"
#include "answers/rates_finder_json.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"
#include "text/encoding.h"
#include "web/bridge/chip_choice.h"

namespace tesmirol::web {
namespace {

// A text the user typed as GBK; none when it has a character GBK lacks.
std::optional<std::string> Gbk(std::u16string_view text) { return text::Utf16ToGbk(text); }

// The tolerance as typed, 1 % when empty.
std::optional<double> Tolerance(std::u16string_view text) {
  const auto gbk = Gbk(text);
  return !gbk ? std::nullopt : gbk->empty() ? std::optional(1.0) : answers::ReadPercent(*gbk);
}

std::optional<std::vector<std::int32_t>> Rates(std::u16string_view text) {
  const auto gbk = Gbk(text);
  return gbk ? answers::ReadRateList(*gbk) : std::nullopt;
}

std::string Problem(std::string_view problem) {
  JsonWriter json;
  json.BeginObject();
  json.StringMember("problem", problem);
  json.EndObject();
  return json.Text();
}

}  // namespace

std::string RatesFinderJson(const RatesFinderTexts& texts, const LinkTexts& link, bool rankByLink) {
  const auto rates = Rates(texts.rates);
  if (!rates) {
    return Problem("badRates");
  }
  const auto tolerance = Tolerance(texts.maxError);
  if (!tolerance) {
    return Problem("badMaxError");
  }
  std::vector<const BaudTarget*> targets;
  if (texts.target != u"classic" && !texts.target.empty()) {
    const ChipChoice choice = ReadChipChoice(Gbk(texts.target).value_or(std::string()));
    if (choice.chipTargets.empty()) {
      return Problem("unknownTarget");
    }
    std::string uart;
    targets = TargetsOfChosenUart(choice, Gbk(texts.uart).value_or("?"), uart);
    if (targets.empty()) {
      return Problem("unknownUart");
    }
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  const bool linked = rankByLink && question.asked && question.problem.empty();
  const answers::RatesFinderAnswer answer =
      answers::AnswerRatesFinder(CrystalPresets(), *rates, targets, *tolerance, linked ? &question.ask : nullptr);
  JsonWriter json;
  json.BeginObject();
  json.Key("problem");
  json.Null();
  json.DoubleMember("tolerance", *tolerance);
  json.Key("crystals");
  json.BeginArray();
  for (const answers::CrystalFit& crystal : answer.crystals) {
    const std::string_view text = CrystalPresets()[crystal.crystal];
    answers::WriteCrystalFit(json, crystal, text::GbkToUtf8(text).value_or(std::string(text)), answer.linked);
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::string ClockFinderJson(const ClockFinderTexts& texts) {
  const ChipChoice choice = ReadChipChoice(Gbk(texts.target).value_or(std::string()));
  if (choice.chipTargets.empty()) {
    return Problem("unknownTarget");
  }
  answers::ClockAsk ask;
  ask.targetName = Gbk(texts.target).value_or(std::string());
  if (!answers::ClockFinderCovers(ask.targetName)) {
    return Problem("notCovered");
  }
  if (!texts.rates.empty()) {
    const auto rates = Rates(texts.rates);
    if (!rates) {
      return Problem("badRates");
    }
    ask.rates = *rates;
    if (!texts.uart.empty()) {
      std::string uart;
      if (TargetsOfChosenUart(choice, Gbk(texts.uart).value_or("?"), uart).empty()) {
        return Problem("unknownUart");
      }
      ask.uart = uart;
    }
  } else {
    for (const PlanRequestTexts& request : texts.requests) {
      std::string uart;
      const auto rate = Rates(request.baud);
      if (TargetsOfChosenUart(choice, Gbk(request.uart).value_or("?"), uart).empty()) {
        return Problem("unknownUart");
      }
      if (!rate || rate->size() != 1) {
        return Problem("badRates");
      }
      ask.requests.push_back({uart, rate->front(), std::to_string(rate->front())});
    }
    if (ask.requests.empty()) {
      return Problem("needsRates");
    }
  }
  if (!texts.range.empty()) {
    answers::ClockBounds bounds;
    const auto gbk = Gbk(texts.range);
    const auto problem = gbk ? answers::ReadClockRange(*gbk, bounds) : answers::ClockRangeProblem::NotWholeHertz;
    if (problem) {
      constexpr std::array<std::string_view, 3> kNames{"NotRange", "NotWholeHertz", "Empty"};
      JsonWriter json;
      json.BeginObject();
      json.StringMember("problem", "badRange");
      json.StringMember("rangeProblem", kNames.at(static_cast<std::size_t>(*problem)));
      json.EndObject();
      return json.Text();
    }
    ask.range = bounds;
  }
  const auto tolerance = Tolerance(texts.maxError);
  if (!tolerance) {
    return Problem("badMaxError");
  }
  ask.tolerancePercent = *tolerance;
  if (!texts.limit.empty()) {
    const auto limit = answers::ReadClockLimit(Gbk(texts.limit).value_or(std::string()));
    if (!limit) {
      return Problem("badLimit");
    }
    ask.limit = *limit;
  }
  const answers::ClockAnswer answer = answers::AnswerClocks(ask);
  if (answer.needsRange) {
    return Problem("needsRange");
  }
  if (answer.result.status == ClockFinderStatus::SearchTooWide) {
    return Problem("tooWide");
  }
  JsonWriter json;
  json.BeginObject();
  json.Key("problem");
  json.Null();
  answers::WriteClockMembers(json, ask, answer);
  json.EndObject();
  return json.Text();
}

}  // namespace tesmirol::web
