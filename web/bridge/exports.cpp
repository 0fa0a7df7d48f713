// The functions the WebAssembly module exports to the page. The page writes
// its texts as UTF-16 code units into the input buffer, calls one function,
// and reads the answer (JSON text or file bytes) from the output buffer.
// The bridge turns the texts into GBK, asks answers/ the one question, and
// writes the answer with the JSON writer's page face; every number, every
// decision and every byte comes from answers/, the engine and the generator.
//
// kBridgeVersion changes whenever a function here changes its meaning, so a
// page and a module that do not belong together refuse to run.
//
// Every function that answers with generated code takes the language of its
// comments last: english not 0 for English, 0 for Chinese.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "answers/chip_name_answer.h"
#include "answers/classic_question.h"
#include "answers/driver_answer.h"
#include "answers/finder_questions.h"
#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/listing_json.h"
#include "answers/lookup_table.h"
#include "answers/plan_question.h"
#include "answers/reload_question.h"
#include "answers/target_answer.h"
#include "answers/target_finder.h"
#include "answers/target_question.h"
#include "codegen/code_bytes.h"
#include "codegen/target_asm_code.h"
#include "text/encoding.h"

namespace {

namespace answers = tesmirol::answers;

constexpr std::int32_t kBridgeVersion = 15;

// The serial link's texts as the page gave them, set by tesmirol_link.
struct PageLinkTexts {
  std::u16string peer;
  std::u16string tolerance;
  std::u16string frame;
};

std::u16string& Input() {
  static std::u16string input;
  return input;
}

// The lengths of the texts in the input buffer, for questions with any
// number of texts.
std::vector<std::uint32_t>& Lengths() {
  static std::vector<std::uint32_t> lengths;
  return lengths;
}

// The serial link the page asks about, set by tesmirol_link; every answer
// with a code or a link reads it.
PageLinkTexts& Link() {
  static PageLinkTexts link;
  return link;
}

std::string& Output() {
  static std::string output;
  return output;
}

// A text of the input buffer.
std::u16string_view InputText(std::uint32_t offset, std::uint32_t units) {
  return std::u16string_view(Input()).substr(offset, units);
}

// A text of the input buffer as GBK, none when GBK cannot hold it.
answers::GbkText Gbk(std::uint32_t offset, std::uint32_t units) {
  return tesmirol::text::Utf16ToGbk(InputText(offset, units));
}

// The link's texts as GBK; an empty other end asks about no link.
answers::LinkTexts LinkTexts() {
  const PageLinkTexts& link = Link();
  return {!link.peer.empty(), tesmirol::text::Utf16ToGbk(link.peer), tesmirol::text::Utf16ToGbk(link.tolerance),
          tesmirol::text::Utf16ToGbk(link.frame)};
}

// The offset and length of each text of the input buffer, cut by the
// lengths the page wrote.
std::vector<std::pair<std::uint32_t, std::uint32_t>> InputTexts() {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> texts;
  std::uint32_t offset = 0;
  for (const std::uint32_t units : Lengths()) {
    texts.emplace_back(offset, units);
    offset += units;
  }
  return texts;
}

// Every text of the input buffer, cut by the lengths the page wrote, as GBK.
std::vector<answers::GbkText> GbkTexts() {
  std::vector<answers::GbkText> texts;
  for (const auto& [offset, units] : InputTexts()) {
    texts.push_back(Gbk(offset, units));
  }
  return texts;
}

// The plan's texts, the first count texts of the input buffer: the
// crystal, the target, then each UART, its rate and its own other end (""
// for the link's).
answers::PlanTexts ReadPlanTexts(std::size_t count) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> texts = InputTexts();
  texts.resize(std::min(count, texts.size()));
  answers::PlanTexts plan;
  if (texts.size() >= 2) {
    plan.crystal = Gbk(texts[0].first, texts[0].second);
    plan.target = Gbk(texts[1].first, texts[1].second);
  }
  for (std::size_t index = 2; index + 2 < texts.size(); index += 3) {
    const auto [peer, peerUnits] = texts[index + 2];
    plan.requests.push_back({Gbk(texts[index].first, texts[index].second),
                             Gbk(texts[index + 1].first, texts[index + 1].second), !InputText(peer, peerUnits).empty(),
                             Gbk(peer, peerUnits)});
  }
  return plan;
}

// The lookup table's texts, cut from the input buffer by the lengths the
// page wrote: the crystal, the baud text, the target and its UART, then
// each other UART of the plan and its rate.
answers::LookupTable LookupTableOfInput() {
  std::vector<answers::GbkText> texts = GbkTexts();
  texts.resize(std::max<std::size_t>(texts.size(), 4), std::string());
  answers::LookupTableTexts table{texts[0], texts[1], texts[2], texts[3], {}};
  for (std::size_t index = 4; index + 1 < texts.size(); index += 2) {
    table.otherUarts.emplace_back(texts[index], texts[index + 1]);
  }
  return answers::ReadLookupTable(table);
}

// The language of the generated code's comments as the page passes it.
tesmirol::Language CodeLanguage(std::int32_t english) {
  return english != 0 ? tesmirol::Language::English : tesmirol::Language::Chinese;
}

std::int32_t Answer(std::string answer) {
  Output() = std::move(answer);
  return static_cast<std::int32_t>(Output().size());
}

// An answer written as JSON with the page's face by one of answers/' writers.
template <typename... Values>
std::int32_t AnswerJson(void (*write)(answers::JsonWriter&, const Values&...), const Values&... values) {
  // The page's face (the default: the command line's would bring its
  // decimal numbers into the module). Written through write, which
  // clang-tidy does not follow into a template.
  answers::JsonWriter json;  // NOLINT(misc-const-correctness)
  write(json, values...);
  return Answer(json.Text());
}

// A generated text (GBK) as file bytes (GBK when gbk is not 0, else UTF-8;
// LF line ends when lineFeeds is not 0), or -1 with an empty output when
// there is none.
std::int32_t AnswerBytes(const std::optional<std::string>& gbkText, std::int32_t gbk, std::int32_t lineFeeds) {
  const std::optional<std::string> bytes =
      gbkText ? tesmirol::EncodeGeneratedCode(
                    *gbkText, gbk != 0 ? tesmirol::CodeEncoding::Gbk : tesmirol::CodeEncoding::Utf8, lineFeeds != 0)
              : std::nullopt;
  if (!bytes) {
    Answer(std::string());
    return -1;
  }
  return Answer(*bytes);
}

// The generated code as file bytes; none unless it is code.
std::int32_t AnswerCode(const tesmirol::GeneratedInitCode& code, std::int32_t gbk, std::int32_t lineFeeds) {
  return AnswerBytes(code.outcome == tesmirol::GenerationOutcome::Code ? std::optional(code.text) : std::nullopt, gbk,
                     lineFeeds);
}

// The driver's choices as the page passes them: polled (not 0) or interrupt
// driven, the buffer sizes, xdata (not 0) or idata, the interrupt's
// register bank (-1 for none) and crlf (not 0: putchar sends "\r\n"); the
// RS-485 pin ("" for none) is the last text of the input, after the plan's.
answers::DriverChoices DriverChoice(std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize, std::int32_t xdata,
                                    std::int32_t registerBank, std::int32_t crlf) {
  const auto texts = InputTexts();
  return {.polled = polled != 0,
          .rxSize = rxSize,
          .txSize = txSize,
          .xdata = xdata != 0,
          .registerBank = registerBank >= 0 ? std::optional(static_cast<std::uint32_t>(registerBank)) : std::nullopt,
          .rs485 = texts.empty() ? answers::GbkText(std::string()) : Gbk(texts.back().first, texts.back().second),
          .crlf = crlf != 0};
}

// The plan's texts of a driver question: every text but the RS-485 pin.
answers::PlanTexts DriverPlanTexts() { return ReadPlanTexts(Lengths().empty() ? 0 : Lengths().size() - 1); }

// The target question of the inputs: the crystal, the baud text, the
// target's (or family's) name and the UART, one after the other.
answers::TargetQuestionAnswer TargetQuestion(std::uint32_t crystalUnits, std::uint32_t baudUnits,
                                             std::uint32_t targetUnits, std::uint32_t uartUnits, std::int32_t english) {
  const std::uint32_t target = crystalUnits + baudUnits;
  return answers::AnswerTargetQuestion(
      answers::ReadTargetQuestion(Gbk(0, crystalUnits), Gbk(crystalUnits, baudUnits), Gbk(target, targetUnits),
                                  Gbk(target + targetUnits, uartUnits)),
      LinkTexts(), CodeLanguage(english));
}

}  // namespace

#define TESMIROL_EXPORT(name) extern "C" __attribute__((export_name(#name)))  // NOLINT(cppcoreguidelines-macro-usage)

TESMIROL_EXPORT(tesmirol_bridge_version) std::int32_t TesmirolBridgeVersion() { return kBridgeVersion; }

// Room for units UTF-16 code units; the page writes its texts there.
TESMIROL_EXPORT(tesmirol_input) char16_t* TesmirolInput(std::uint32_t units) {
  Input().assign(units, u'\0');
  return Input().data();
}

// Room for the lengths of count texts, which the page writes one after the
// other into the input buffer.
TESMIROL_EXPORT(tesmirol_input_lengths) std::uint32_t* TesmirolInputLengths(std::uint32_t count) {
  Lengths().assign(count, 0);
  return Lengths().data();
}

TESMIROL_EXPORT(tesmirol_output_data) const char* TesmirolOutputData() { return Output().data(); }

TESMIROL_EXPORT(tesmirol_output_size) std::uint32_t TesmirolOutputSize() {
  return static_cast<std::uint32_t>(Output().size());
}

// The serial link every later answer checks (and notes in its code): the
// other end, this end's clock tolerance and the frame, one after the other
// in the input; an empty other end checks none. Answers the choices the
// page offers as JSON: {"peers": [...], "frames": [...]}.
TESMIROL_EXPORT(tesmirol_link)
std::int32_t TesmirolLink(std::uint32_t peerUnits, std::uint32_t toleranceUnits, std::uint32_t frameUnits) {
  const std::uint32_t tolerance = peerUnits;
  const std::uint32_t frame = tolerance + toleranceUnits;
  Link() = PageLinkTexts{std::u16string(InputText(0, peerUnits)), std::u16string(InputText(tolerance, toleranceUnits)),
                         std::u16string(InputText(frame, frameUnits))};
  return AnswerJson(answers::WriteLinkChoices);
}

// The crystal text is the first crystalUnits code units of the input, the
// baud text the baudUnits after them. Answers the calculation as JSON
// (answers::WriteClassicQuestion).
TESMIROL_EXPORT(tesmirol_calculate)
std::int32_t TesmirolCalculate(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::int32_t english) {
  return AnswerJson(answers::WriteClassicQuestion,
                    answers::AnswerClassicQuestion(Gbk(0, crystalUnits), Gbk(crystalUnits, baudUnits), LinkTexts(),
                                                   CodeLanguage(english)));
}

// The input is the baud text. Answers the crystal finder's rows as JSON,
// ranked by the link's margin when rank is not 0.
TESMIROL_EXPORT(tesmirol_crystal_table) std::int32_t TesmirolCrystalTable(std::uint32_t baudUnits, std::int32_t rank) {
  return AnswerJson(answers::WriteClassicFinder,
                    answers::AnswerClassicFinder(Gbk(0, baudUnits), LinkTexts(), rank != 0));
}

// The texts (lengths in tesmirol_input_lengths): the crystal and the baud
// text (an empty one stands for every preset), the target ("classic" for
// the classic Timer 1) and its UART, then each other UART of the plan and
// its rate. Answers the lookup table's shown rows from up to to (and the
// rows that hold them) as JSON (answers::WriteLookupRows), in the language.
TESMIROL_EXPORT(tesmirol_lookup_table)
std::int32_t TesmirolLookupTable(std::uint32_t from, std::uint32_t to, std::int32_t english) {
  answers::JsonWriter json;  // NOLINT(misc-const-correctness): written through WriteLookupRows
  answers::WriteLookupRows(json, LookupTableOfInput(), from, to, CodeLanguage(english));
  return Answer(json.Text());
}

// As tesmirol_lookup_table's input. Answers the whole table as UTF-8 CSV
// (markdown 0) or Markdown in the language, byte for byte as tesmirol-cli
// --table --format csv|markdown writes it; empty when the texts do not read.
TESMIROL_EXPORT(tesmirol_lookup_file) std::int32_t TesmirolLookupFile(std::int32_t markdown, std::int32_t english) {
  answers::TableText text;
  answers::WriteLookupFile(text, LookupTableOfInput(),
                           markdown != 0 ? answers::TableFile::Markdown : answers::TableFile::Csv,
                           CodeLanguage(english));
  return Answer(std::move(text.Text()));
}

TESMIROL_EXPORT(tesmirol_presets) std::int32_t TesmirolPresets() { return AnswerJson(answers::WritePresetListing); }

TESMIROL_EXPORT(tesmirol_report_labels) std::int32_t TesmirolReportLabels() {
  return AnswerJson(answers::WriteReportLabels);
}

TESMIROL_EXPORT(tesmirol_targets) std::int32_t TesmirolTargets() { return AnswerJson(answers::WriteTargetListing); }

// The input is a family's name. Answers its part numbers and the ordering
// tables they come from as JSON (answers::WritePartListing).
TESMIROL_EXPORT(tesmirol_part_listing) std::int32_t TesmirolPartListing(std::uint32_t familyUnits) {
  answers::JsonWriter json;  // NOLINT(misc-const-correctness): written through WritePartListing
  answers::WritePartListing(json, Gbk(0, familyUnits).value_or(std::string()));
  return Answer(json.Text());
}

// The crystal text, the baud text, the target's (or family's) name and the
// UART, one after the other in the input. Answers the solution as JSON
// (answers::WriteTargetQuestion).
TESMIROL_EXPORT(tesmirol_solve_target)
std::int32_t TesmirolSolveTarget(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                                 std::uint32_t uartUnits, std::int32_t english) {
  return AnswerJson(answers::WriteTargetQuestion,
                    TargetQuestion(crystalUnits, baudUnits, targetUnits, uartUnits, english));
}

// The baud text, the target's name and the UART. Answers the crystal
// finder's rows on those targets as JSON, ranked by the link's margin when
// rank is not 0.
TESMIROL_EXPORT(tesmirol_target_table)
std::int32_t TesmirolTargetTable(std::uint32_t baudUnits, std::uint32_t targetUnits, std::uint32_t uartUnits,
                                 std::int32_t rank) {
  return AnswerJson(answers::WriteTargetFinder,
                    answers::AnswerTargetFinder(Gbk(0, baudUnits), Gbk(baudUnits, targetUnits),
                                                Gbk(baudUnits + targetUnits, uartUnits), LinkTexts(), rank != 0));
}

// As tesmirol_solve_target's input; answers as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_target_code_bytes)
std::int32_t TesmirolTargetCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                                     std::uint32_t uartUnits, std::int32_t gbk, std::int32_t lineFeeds,
                                     std::int32_t english) {
  const answers::TargetQuestionAnswer answer = TargetQuestion(crystalUnits, baudUnits, targetUnits, uartUnits, english);
  return AnswerCode(answer.answer ? answer.answer->code : tesmirol::GeneratedInitCode{}, gbk, lineFeeds);
}

// The texts (lengths in tesmirol_input_lengths): the crystal, the family's
// or target's name, then each UART, its rate and its own other end. Answers
// the plan as JSON (answers::WritePlanQuestion).
TESMIROL_EXPORT(tesmirol_plan) std::int32_t TesmirolPlan(std::int32_t english) {
  return AnswerJson(answers::WritePlanQuestion,
                    answers::AnswerPlanQuestion(answers::ReadPlanQuestion(ReadPlanTexts(Lengths().size()), LinkTexts()),
                                                CodeLanguage(english)));
}

// As tesmirol_plan's input; answers as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_plan_code_bytes)
std::int32_t TesmirolPlanCodeBytes(std::int32_t gbk, std::int32_t lineFeeds, std::int32_t english) {
  const answers::PlanQuestionAnswer answer = answers::AnswerPlanQuestion(
      answers::ReadPlanQuestion(ReadPlanTexts(Lengths().size()), LinkTexts()), CodeLanguage(english));
  return AnswerCode(answer.answer ? answer.answer->code : tesmirol::GeneratedInitCode{}, gbk, lineFeeds);
}

// As tesmirol_calculate's input. Answers the bytes of the generated code
// (GBK when gbk is not 0, else UTF-8; LF line ends when lineFeeds is not 0),
// or -1 with an empty output when the inputs give no code.
TESMIROL_EXPORT(tesmirol_code_bytes)
std::int32_t TesmirolCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::int32_t gbk,
                               std::int32_t lineFeeds, std::int32_t english) {
  return AnswerCode(answers::AnswerClassicQuestion(Gbk(0, crystalUnits), Gbk(crystalUnits, baudUnits), LinkTexts(),
                                                   CodeLanguage(english))
                        .answer.code,
                    gbk, lineFeeds);
}

// As tesmirol_plan's input (one UART: the single-UART question), then the
// RS-485 pin. Answers the serial driver's files for the choices as JSON
// (answers::WriteDriverAnswer).
TESMIROL_EXPORT(tesmirol_driver_files)
std::int32_t TesmirolDriverFiles(std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize, std::int32_t xdata,
                                 std::int32_t registerBank, std::int32_t crlf) {
  return AnswerJson(answers::WriteDriverAnswer, DriverPlanTexts(),
                    DriverChoice(polled, rxSize, txSize, xdata, registerBank, crlf), LinkTexts());
}

// As tesmirol_driver_files' input; answers the bytes of the file at index
// (-1: the one-file form) as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_driver_bytes)
std::int32_t TesmirolDriverBytes(std::int32_t index, std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize,
                                 std::int32_t xdata, std::int32_t registerBank, std::int32_t crlf, std::int32_t gbk,
                                 std::int32_t lineFeeds, std::int32_t english) {
  const tesmirol::Language language = CodeLanguage(english);
  const answers::DriverAnswer answer = answers::AnswerDriver(
      DriverPlanTexts(), DriverChoice(polled, rxSize, txSize, xdata, registerBank, crlf), LinkTexts(), language);
  return AnswerBytes(answers::DriverFileText(answer, index, language), gbk, lineFeeds);
}

// The input is a name typed for the chip: a target, a family or a part
// number as printed. Answers what it stands for as JSON ({kind, name, part,
// source, nearest}); a text GBK cannot hold names no chip.
TESMIROL_EXPORT(tesmirol_chip_name) std::int32_t TesmirolChipName(std::uint32_t nameUnits) {
  const std::optional<std::string> name = tesmirol::text::Utf16ToGbk(InputText(0, nameUnits));
  return AnswerJson(&answers::WriteChipName, answers::AnswerChipName(name.value_or(std::string())));
}

// The texts (lengths in tesmirol_input_lengths): the rates, the tolerance,
// the target (or "classic") and its UART. Answers the rates finder over the
// crystal presets as JSON, ranked by the link when rank is not 0.
TESMIROL_EXPORT(tesmirol_rates_finder) std::int32_t TesmirolRatesFinder(std::int32_t rank) {
  const std::vector<answers::GbkText> texts = GbkTexts();
  if (texts.size() < 4) {
    return Answer(std::string());
  }
  return AnswerJson(&answers::WriteRatesFinderQuestion,
                    answers::RatesFinderTexts{texts[0], texts[1], texts[2], texts[3]}, LinkTexts(), rank != 0);
}

// The texts (lengths in tesmirol_input_lengths): the target, its UART, the
// rates, the range, the tolerance and the limit, then each planned UART
// and its rate (used when the rates are empty). Answers the clock finder
// as JSON.
TESMIROL_EXPORT(tesmirol_clock_finder) std::int32_t TesmirolClockFinder() {
  const std::vector<answers::GbkText> texts = GbkTexts();
  if (texts.size() < 6) {
    return Answer(std::string());
  }
  answers::ClockFinderTexts question{texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], {}};
  for (std::size_t index = 6; index + 1 < texts.size(); index += 2) {
    question.requests.push_back({texts[index], texts[index + 1], false, {}});
  }
  return AnswerJson(&answers::WriteClockFinderQuestion, question);
}

// The crystal text, the reload text ("0xFD" or "253"), the target's (or
// family's) name ("" for the classic Timer 1), the UART and the baud text
// the rates are compared with, one after the other in the input. Answers
// the rates the reload gives as JSON.
TESMIROL_EXPORT(tesmirol_reload)
std::int32_t TesmirolReload(std::uint32_t crystalUnits, std::uint32_t reloadUnits, std::uint32_t targetUnits,
                            std::uint32_t uartUnits, std::uint32_t baudUnits) {
  const std::uint32_t target = crystalUnits + reloadUnits;
  const std::uint32_t baud = target + targetUnits + uartUnits;
  return AnswerJson(&answers::WriteReloadQuestion,
                    answers::ReloadTexts{Gbk(0, crystalUnits), Gbk(crystalUnits, reloadUnits), Gbk(target, targetUnits),
                                         Gbk(target + targetUnits, uartUnits), Gbk(baud, baudUnits)});
}

// As tesmirol_solve_target's input; answers the assembly text of the best
// target (sdas not 0: SDCC's sdas8051, else Keil's A51) as
// tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_asm_bytes)
std::int32_t TesmirolAsmBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                              std::uint32_t uartUnits, std::int32_t sdas, std::int32_t gbk, std::int32_t lineFeeds,
                              std::int32_t english) {
  const answers::TargetQuestionAnswer answer = TargetQuestion(crystalUnits, baudUnits, targetUnits, uartUnits, english);
  std::optional<std::string> text;
  if (answer.answer && answer.question.inputs) {
    text = answers::AnswerAsm(*answer.answer, *answer.question.inputs,
                              answers::CodeStyleOf(answer.link, CodeLanguage(english)),
                              sdas != 0 ? tesmirol::AsmSyntax::Sdas : tesmirol::AsmSyntax::A51);
  }
  return AnswerBytes(text, gbk, lineFeeds);
}
