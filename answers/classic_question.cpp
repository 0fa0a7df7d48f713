#include "answers/classic_question.h"

#include "answers/classic_json.h"
#include "res/preset_lists.h"

namespace tesmirol::answers {

ClassicQuestionAnswer AnswerClassicQuestion(const GbkText& crystal, const GbkText& baud, const LinkTexts& link,
                                            Language language) {
  ClassicQuestionAnswer answer{"", ReadClassicLinkQuestion(link), {}};
  if (!answer.link.asked && !answer.link.problem.empty()) {
    // A frame for the code alone: refused, as tesmirol-cli refuses --frame without --target.
    answer.problem = answer.link.problem;
  } else if (!crystal) {
    answer.problem = "crystalNotGbk";
  } else if (!baud) {
    answer.problem = "baudNotGbk";
  } else {
    answer.answer = AnswerClassic(*crystal, *baud, answer.link.Ask(), language);
    answer.problem = answer.answer.calculation ? "" : "noResult";
  }
  return answer;
}

void WriteClassicQuestion(JsonWriter& json, const ClassicQuestionAnswer& answer) {
  json.BeginObject();
  json.Key("status");
  if (!answer.problem.empty()) {
    json.String(answer.problem);
    json.EndObject();
    return;
  }
  const BaudCalculation& calculation = *answer.answer.calculation;
  json.String("ok");
  json.Key("calculation");
  json.BeginObject();
  // The user's texts came from UTF-16 and the code from the generator: they always convert back.
  static_cast<void>(WriteClassicMembers(json, calculation, answer.answer.code));
  json.Key("link");
  WriteQuestionLink(json, answer.link, LinkOfAnswer(answer.link, answer.answer.link, calculation.baud));
  json.EndObject();
  json.EndObject();
}

ClassicFinder AnswerClassicFinder(const GbkText& baud, const LinkTexts& link, bool rankByLink) {
  ClassicFinder finder;
  finder.link = ReadClassicLinkQuestion(link);
  if (baud) {
    for (const std::string_view crystal : CrystalPresets()) {
      finder.crystals.push_back(crystal);
      const std::optional<BaudCalculation>& calculation =
          finder.calculations.emplace_back(CalculateBaud(crystal, *baud));
      finder.links.push_back(finder.link.asked && calculation
                                 ? AnswerQuestionLink(finder.link, ClassicOwnRate(*calculation), calculation->baud)
                                 : AnswerQuestionLink(finder.link, {}, 0));
    }
  }
  finder.order = FinderOrder(finder.links, rankByLink);
  return finder;
}

void WriteClassicFinder(JsonWriter& json, const ClassicFinder& finder) {
  json.BeginArray();
  for (const std::size_t index : finder.order) {
    const std::optional<BaudCalculation>& calculation = finder.calculations.at(index);
    json.BeginObject();
    json.StringMember("crystal", finder.crystals.at(index));  // the presets are ASCII
    json.Key("crystalHz");
    if (calculation) {
      json.Int(calculation->crystalHz);
      json.Key("modes");
      WriteClassicModes(json, *calculation);
      WriteCodeChoice(json, *calculation);
    } else {
      json.Null();
    }
    json.Key("link");
    WriteQuestionLinkSummary(json, finder.link, finder.links.at(index));
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace tesmirol::answers
