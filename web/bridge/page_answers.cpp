#include "web/bridge/page_answers.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

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

// The calculation and the link of the setting its code uses; the code's
// header comment carries the link's note.
void WriteCalculation(JsonWriter& json, const BaudCalculation& calculation, Language language,
                      const LinkQuestion& link) {
  const LinkAnswer linkAnswer = AnswerLink(link, answers::ClassicOwnRate(calculation), calculation.baud);
  const std::vector<std::string> notes = LinkNotes(link, linkAnswer, language);
  const GeneratedInitCode generated = GenerateInitCode(calculation, language, notes);
  json.BeginObject();
  // The user's texts came from UTF-16 and the code from the generator: they always convert back.
  static_cast<void>(answers::WriteClassicMembers(json, calculation, generated));
  json.Key("link");
  WriteLink(json, link, linkAnswer);
  json.EndObject();
}

struct GbkInputs {
  std::optional<std::string> crystal;
  std::optional<std::string> baud;
};

}  // namespace

std::string CalculationJson(std::u16string_view crystal, std::u16string_view baud, Language language,
                            const LinkTexts& link) {
  const GbkInputs inputs{text::Utf16ToGbk(crystal), text::Utf16ToGbk(baud)};
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  if (!inputs.crystal) {
    json.String("crystalNotGbk");
  } else if (!inputs.baud) {
    json.String("baudNotGbk");
  } else if (const std::optional<BaudCalculation> calculation = CalculateBaud(*inputs.crystal, *inputs.baud)) {
    json.String("ok");
    json.Key("calculation");
    WriteCalculation(json, *calculation, language, ClassicLinkQuestion(link));
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
  const std::optional<BaudCalculation> calculation = CalculateBaud(*crystalGbk, *baudGbk);
  if (!calculation || ChooseInitCodeSetting(*calculation).outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  const LinkQuestion question = ClassicLinkQuestion(link);
  const LinkAnswer linkAnswer = AnswerLink(question, answers::ClassicOwnRate(*calculation), calculation->baud);
  return EncodeGeneratedCode(GenerateInitCode(*calculation, language, LinkNotes(question, linkAnswer, language)).text,
                             encoding, lineFeedsOnly);
}

}  // namespace tesmirol::web
