#include "web/bridge/page_answers.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "answers/classic_answer.h"
#include "answers/classic_json.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "engine/report_labels.h"
#include "res/preset_lists.h"
#include "text/encoding.h"
#include "web/bridge/link_answers.h"
#include "web/bridge/target_json.h"

namespace tesmirol::web {
namespace {

// The link the answer checks: none when none is asked about or its texts
// do not read.
const answers::LinkAsk* AskOf(const LinkQuestion& question) {
  return question.asked && question.problem.empty() ? &question.ask : nullptr;
}

// The link of the answer as the page reads it: null, the question's
// problem, or the link answers/ checked.
LinkAnswer PageLink(const LinkQuestion& question, const answers::ClassicAnswer& answer) {
  return answer.link ? LinkAnswer{"", *answer.link} : AnswerLink(question, {}, answer.calculation->baud);
}

struct GbkInputs {
  std::optional<std::string> crystal;
  std::optional<std::string> baud;
};

}  // namespace

std::string CalculationJson(std::u16string_view crystal, std::u16string_view baud, Language language,
                            const LinkTexts& link) {
  const GbkInputs inputs{text::Utf16ToGbk(crystal), text::Utf16ToGbk(baud)};
  const LinkQuestion question = ClassicLinkQuestion(link);
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  if (!inputs.crystal) {
    json.String("crystalNotGbk");
  } else if (!inputs.baud) {
    json.String("baudNotGbk");
  } else if (const answers::ClassicAnswer answer =
                 answers::AnswerClassic(*inputs.crystal, *inputs.baud, AskOf(question), language);
             answer.calculation) {
    json.String("ok");
    json.Key("calculation");
    json.BeginObject();
    // The user's texts came from UTF-16 and the code from the generator: they always convert back.
    static_cast<void>(answers::WriteClassicMembers(json, *answer.calculation, answer.code));
    json.Key("link");
    WriteLink(json, question, PageLink(question, answer));
    json.EndObject();
  } else {
    json.String("noResult");
  }
  json.EndObject();
  return json.Text();
}

std::string CrystalTableJson(std::u16string_view baud, const LinkTexts& link, bool rankByLink) {
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  const std::span<const std::string_view> crystals = baudGbk ? CrystalPresets() : std::span<const std::string_view>();
  const LinkQuestion question = ClassicLinkQuestion(link);
  std::vector<std::optional<BaudCalculation>> calculations;
  std::vector<LinkAnswer> links;
  for (const std::string_view crystal : crystals) {
    calculations.push_back(CalculateBaud(crystal, *baudGbk));
    const std::optional<BaudCalculation>& calculation = calculations.back();
    links.push_back(question.asked && calculation
                        ? AnswerLink(question, answers::ClassicOwnRate(*calculation), calculation->baud)
                        : AnswerLink(question, {}, 0));
  }
  JsonWriter json;
  json.BeginArray();
  for (const std::size_t index : FinderOrder(links, rankByLink)) {
    const std::optional<BaudCalculation>& calculation = calculations.at(index);
    json.BeginObject();
    json.StringMember("crystal", crystals[index]);  // the presets are ASCII
    json.Key("crystalHz");
    if (calculation) {
      json.Int(calculation->crystalHz);
      json.Key("modes");
      answers::WriteClassicModes(json, *calculation);
      answers::WriteCodeChoice(json, *calculation);
    } else {
      json.Null();
    }
    json.Key("link");
    WriteLinkSummary(json, question, links.at(index));
    json.EndObject();
  }
  json.EndArray();
  return json.Text();
}

std::string PresetsJson() {
  JsonWriter json;
  json.BeginObject();
  json.Key("crystals");
  json.BeginArray();
  for (const std::string_view crystal : CrystalPresets()) {
    json.String(crystal);
  }
  json.EndArray();
  json.Key("bauds");
  json.BeginArray();
  for (const std::string_view baud : BaudPresets()) {
    json.String(baud);
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::string ReportLabelsJson() {
  const std::array<std::pair<std::string_view, std::string_view>, 8> labels = {{
      {"selectedCrystal", kSelectedCrystalLabel},
      {"minimum", kMinimumLabel},
      {"maximum", kMaximumLabel},
      {"tooLow", kTooLowText},
      {"tooHigh", kTooHighText},
      {"achieved", kAchievedLabel},
      {"deviation", kDeviationLabel},
      {"outOfTolerance", kOutOfToleranceMark},
  }};
  JsonWriter json;
  json.BeginObject();
  for (const auto& [key, label] : labels) {
    json.StringMember(key, Utf8(label));
  }
  json.EndObject();
  return json.Text();
}

std::optional<std::string> InitCodeBytes(std::u16string_view crystal, std::u16string_view baud, CodeEncoding encoding,
                                         bool lineFeedsOnly, Language language, const LinkTexts& link) {
  const std::optional<std::string> crystalGbk = text::Utf16ToGbk(crystal);
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  if (!crystalGbk || !baudGbk) {
    return std::nullopt;
  }
  const LinkQuestion question = ClassicLinkQuestion(link);
  const answers::ClassicAnswer answer = answers::AnswerClassic(*crystalGbk, *baudGbk, AskOf(question), language);
  if (answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return EncodeGeneratedCode(answer.code.text, encoding, lineFeedsOnly);
}

}  // namespace tesmirol::web
