#include "answers/finder_questions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "answers/chip_choice.h"
#include "answers/clock_finder_answer.h"
#include "answers/clock_finder_json.h"
#include "answers/finder_texts.h"
#include "answers/rates_finder_answer.h"
#include "answers/rates_finder_json.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The tolerance as typed, 1 % when empty.
std::optional<double> Tolerance(const GbkText& text) {
  return !text ? std::nullopt : text->empty() ? std::optional(1.0) : ReadPercent(*text);
}

std::optional<std::vector<std::int32_t>> Rates(const GbkText& text) {
  return text ? ReadRateList(*text) : std::nullopt;
}

void WriteProblem(JsonWriter& json, std::string_view problem) {
  json.BeginObject();
  json.StringMember("problem", problem);
  json.EndObject();
}

}  // namespace

void WriteRatesFinderQuestion(JsonWriter& json, const RatesFinderTexts& texts, const LinkTexts& link,
                              const bool& rankByLink) {
  const auto rates = Rates(texts.rates);
  if (!rates) {
    WriteProblem(json, "badRates");
    return;
  }
  const auto tolerance = Tolerance(texts.maxError);
  if (!tolerance) {
    WriteProblem(json, "badMaxError");
    return;
  }
  std::vector<const BaudTarget*> targets;
  if (!texts.target || (*texts.target != "classic" && !texts.target->empty())) {
    const ChipChoice choice = ReadChipChoice(texts.target.value_or(std::string()));
    if (choice.chipTargets.empty()) {
      WriteProblem(json, "unknownTarget");
      return;
    }
    std::string uart;
    targets = TargetsOfChosenUart(choice, texts.uart.value_or("?"), uart);
    if (targets.empty()) {
      WriteProblem(json, "unknownUart");
      return;
    }
  }
  const LinkQuestion question = ReadLinkQuestion(link);
  const RatesFinderAnswer answer =
      AnswerRatesFinder(CrystalPresets(), *rates, targets, *tolerance, rankByLink ? question.Ask() : nullptr);
  json.BeginObject();
  json.Key("problem");
  json.Null();
  json.DoubleMember("tolerance", *tolerance);
  json.Key("crystals");
  json.BeginArray();
  for (const CrystalFit& crystal : answer.crystals) {
    const std::string_view text = CrystalPresets()[crystal.crystal];
    WriteCrystalFit(json, crystal, text::GbkToUtf8(text).value_or(std::string(text)), answer.linked);
  }
  json.EndArray();
  json.EndObject();
}

void WriteClockFinderQuestion(JsonWriter& json, const ClockFinderTexts& texts) {
  const ChipChoice choice = ReadChipChoice(texts.target.value_or(std::string()));
  if (choice.chipTargets.empty()) {
    WriteProblem(json, "unknownTarget");
    return;
  }
  ClockAsk ask;
  ask.targetName = texts.target.value_or(std::string());
  if (!ClockFinderCovers(ask.targetName)) {
    WriteProblem(json, "notCovered");
    return;
  }
  if (!texts.rates || !texts.rates->empty()) {
    const auto rates = Rates(texts.rates);
    if (!rates) {
      WriteProblem(json, "badRates");
      return;
    }
    ask.rates = *rates;
    if (!texts.uart || !texts.uart->empty()) {
      std::string uart;
      if (TargetsOfChosenUart(choice, texts.uart.value_or("?"), uart).empty()) {
        WriteProblem(json, "unknownUart");
        return;
      }
      ask.uart = uart;
    }
  } else {
    for (const PlanRequestTexts& request : texts.requests) {
      std::string uart;
      const auto rate = Rates(request.baud);
      if (TargetsOfChosenUart(choice, request.uart.value_or("?"), uart).empty()) {
        WriteProblem(json, "unknownUart");
        return;
      }
      if (!rate || rate->size() != 1) {
        WriteProblem(json, "badRates");
        return;
      }
      ask.requests.push_back({uart, rate->front(), std::to_string(rate->front())});
    }
    if (ask.requests.empty()) {
      WriteProblem(json, "needsRates");
      return;
    }
  }
  if (!texts.range || !texts.range->empty()) {
    ClockBounds bounds;
    const auto problem = texts.range ? ReadClockRange(*texts.range, bounds) : ClockRangeProblem::NotWholeHertz;
    if (problem) {
      constexpr std::array<std::string_view, 3> kNames{"NotRange", "NotWholeHertz", "Empty"};
      json.BeginObject();
      json.StringMember("problem", "badRange");
      json.StringMember("rangeProblem", kNames.at(static_cast<std::size_t>(*problem)));
      json.EndObject();
      return;
    }
    ask.range = bounds;
  }
  const auto tolerance = Tolerance(texts.maxError);
  if (!tolerance) {
    WriteProblem(json, "badMaxError");
    return;
  }
  ask.tolerancePercent = *tolerance;
  if (!texts.limit || !texts.limit->empty()) {
    const auto limit = ReadClockLimit(texts.limit.value_or(std::string()));
    if (!limit) {
      WriteProblem(json, "badLimit");
      return;
    }
    ask.limit = *limit;
  }
  const ClockAnswer answer = AnswerClocks(ask);
  if (answer.needsRange) {
    WriteProblem(json, "needsRange");
    return;
  }
  if (answer.result.status == ClockFinderStatus::SearchTooWide) {
    WriteProblem(json, "tooWide");
    return;
  }
  json.BeginObject();
  json.Key("problem");
  json.Null();
  WriteClockMembers(json, ask, answer);
  json.EndObject();
}

}  // namespace tesmirol::answers
