// The functions the WebAssembly module exports to the page. The page writes
// its texts as UTF-16 code units into the input buffer, calls one function,
// and reads the answer (JSON text or file bytes) from the output buffer.
// Every number and every byte comes from the engine and the generator; the
// page only shows them.
//
// kBridgeVersion changes whenever a function here changes its meaning, so a
// page and a module that do not belong together refuse to run.
//
// Every function that answers with generated code takes the language of its
// comments last: english not 0 for English, 0 for Chinese.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/bridge/driver_answers.h"
#include "web/bridge/link_answers.h"
#include "web/bridge/page_answers.h"
#include "web/bridge/plan_answers.h"
#include "web/bridge/reload_answers.h"
#include "web/bridge/target_answers.h"

namespace {

constexpr std::int32_t kBridgeVersion = 9;

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
tesmirol::web::LinkTexts& Link() {
  static tesmirol::web::LinkTexts link;
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

// The input buffer cut into the texts whose lengths the page wrote.
std::vector<std::u16string_view> InputTexts() {
  std::vector<std::u16string_view> texts;
  std::uint32_t offset = 0;
  for (const std::uint32_t units : Lengths()) {
    texts.push_back(InputText(offset, units));
    offset += units;
  }
  return texts;
}

// The plan's texts: the crystal, the target, then each UART, its rate and
// its own other end ("" for the link's).
tesmirol::web::PlanTexts ReadPlanTexts() {
  const std::vector<std::u16string_view> texts = InputTexts();
  tesmirol::web::PlanTexts plan;
  if (texts.size() >= 2) {
    plan.crystal = texts[0];
    plan.target = texts[1];
  }
  for (std::size_t index = 2; index + 2 < texts.size(); index += 3) {
    plan.requests.push_back({texts[index], texts[index + 1], texts[index + 2]});
  }
  return plan;
}

// The language of the generated code's comments as the page passes it.
tesmirol::Language CodeLanguage(std::int32_t english) {
  return english != 0 ? tesmirol::Language::English : tesmirol::Language::Chinese;
}

tesmirol::CodeEncoding Encoding(std::int32_t gbk) {
  return gbk != 0 ? tesmirol::CodeEncoding::Gbk : tesmirol::CodeEncoding::Utf8;
}

std::int32_t Answer(std::string answer) {
  Output() = std::move(answer);
  return static_cast<std::int32_t>(Output().size());
}

// File bytes as the answer, or -1 with an empty output when there are none.
std::int32_t AnswerBytes(std::optional<std::string> bytes) {
  if (!bytes) {
    Answer(std::string());
    return -1;
  }
  return Answer(std::move(*bytes));
}

// The driver's options as the page passes them: polled (not 0) or interrupt
// driven, the buffer sizes and xdata (not 0) or idata.
tesmirol::DriverOptions DriverChoice(std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize,
                                     std::int32_t xdata) {
  return tesmirol::web::MakeDriverOptions(polled != 0, rxSize, txSize, xdata != 0);
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
  Link() = tesmirol::web::LinkTexts{std::u16string(InputText(0, peerUnits)),
                                    std::u16string(InputText(tolerance, toleranceUnits)),
                                    std::u16string(InputText(frame, frameUnits))};
  return Answer(tesmirol::web::LinkChoicesJson());
}

// The crystal text is the first crystalUnits code units of the input, the
// baud text the baudUnits after them. Answers the calculation as JSON.
TESMIROL_EXPORT(tesmirol_calculate)
std::int32_t TesmirolCalculate(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::int32_t english) {
  return Answer(tesmirol::web::CalculationJson(InputText(0, crystalUnits), InputText(crystalUnits, baudUnits),
                                               CodeLanguage(english), Link()));
}

// The input is the baud text. Answers the crystal finder's rows as JSON,
// ranked by the link's margin when rank is not 0.
TESMIROL_EXPORT(tesmirol_crystal_table) std::int32_t TesmirolCrystalTable(std::uint32_t baudUnits, std::int32_t rank) {
  return Answer(tesmirol::web::CrystalTableJson(InputText(0, baudUnits), Link(), rank != 0));
}

TESMIROL_EXPORT(tesmirol_presets) std::int32_t TesmirolPresets() { return Answer(tesmirol::web::PresetsJson()); }

TESMIROL_EXPORT(tesmirol_report_labels) std::int32_t TesmirolReportLabels() {
  return Answer(tesmirol::web::ReportLabelsJson());
}

TESMIROL_EXPORT(tesmirol_targets) std::int32_t TesmirolTargets() { return Answer(tesmirol::web::TargetsJson()); }

// The crystal text, the baud text, the target's (or family's) name and the
// UART, one after the other in the input. Answers the solution as JSON.
TESMIROL_EXPORT(tesmirol_solve_target)
std::int32_t TesmirolSolveTarget(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                                 std::uint32_t uartUnits, std::int32_t english) {
  const std::uint32_t target = crystalUnits + baudUnits;
  return Answer(tesmirol::web::TargetSolutionJson(
      InputText(0, crystalUnits), InputText(crystalUnits, baudUnits), InputText(target, targetUnits),
      InputText(target + targetUnits, uartUnits), CodeLanguage(english), Link()));
}

// The baud text, the target's name and the UART. Answers the crystal
// finder's rows on those targets as JSON, ranked by the link's margin when
// rank is not 0.
TESMIROL_EXPORT(tesmirol_target_table)
std::int32_t TesmirolTargetTable(std::uint32_t baudUnits, std::uint32_t targetUnits, std::uint32_t uartUnits,
                                 std::int32_t rank) {
  return Answer(tesmirol::web::TargetTableJson(InputText(0, baudUnits), InputText(baudUnits, targetUnits),
                                               InputText(baudUnits + targetUnits, uartUnits), Link(), rank != 0));
}

// As tesmirol_solve_target's input; answers as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_target_code_bytes)
std::int32_t TesmirolTargetCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                                     std::uint32_t uartUnits, std::int32_t gbk, std::int32_t lineFeeds,
                                     std::int32_t english) {
  const std::uint32_t target = crystalUnits + baudUnits;
  return AnswerBytes(tesmirol::web::TargetCodeBytes(
      InputText(0, crystalUnits), InputText(crystalUnits, baudUnits), InputText(target, targetUnits),
      InputText(target + targetUnits, uartUnits), Encoding(gbk), lineFeeds != 0, CodeLanguage(english), Link()));
}

// The texts (lengths in tesmirol_input_lengths): the crystal, the family's
// or target's name, then each UART and its rate. Answers the plan as JSON.
TESMIROL_EXPORT(tesmirol_plan) std::int32_t TesmirolPlan(std::int32_t english) {
  return Answer(tesmirol::web::PlanJson(ReadPlanTexts(), CodeLanguage(english), Link()));
}

// As tesmirol_plan's input; answers as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_plan_code_bytes)
std::int32_t TesmirolPlanCodeBytes(std::int32_t gbk, std::int32_t lineFeeds, std::int32_t english) {
  return AnswerBytes(
      tesmirol::web::PlanCodeBytes(ReadPlanTexts(), Encoding(gbk), lineFeeds != 0, CodeLanguage(english), Link()));
}

// As tesmirol_calculate's input. Answers the bytes of the generated code
// (GBK when gbk is not 0, else UTF-8; LF line ends when lineFeeds is not 0),
// or -1 with an empty output when the inputs give no code.
TESMIROL_EXPORT(tesmirol_code_bytes)
std::int32_t TesmirolCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::int32_t gbk,
                               std::int32_t lineFeeds, std::int32_t english) {
  return AnswerBytes(tesmirol::web::InitCodeBytes(InputText(0, crystalUnits), InputText(crystalUnits, baudUnits),
                                                  Encoding(gbk), lineFeeds != 0, CodeLanguage(english), Link()));
}

// As tesmirol_plan's input (one UART: the single-UART question). Answers the
// serial driver's files for the options as JSON.
TESMIROL_EXPORT(tesmirol_driver_files)
std::int32_t TesmirolDriverFiles(std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize, std::int32_t xdata) {
  return Answer(tesmirol::web::DriverFilesJson(ReadPlanTexts(), DriverChoice(polled, rxSize, txSize, xdata), Link()));
}

// As tesmirol_driver_files' input; answers the bytes of the file at index
// (-1: the one-file form) as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_driver_bytes)
std::int32_t TesmirolDriverBytes(std::int32_t index, std::int32_t polled, std::uint32_t rxSize, std::uint32_t txSize,
                                 std::int32_t xdata, std::int32_t gbk, std::int32_t lineFeeds, std::int32_t english) {
  return AnswerBytes(tesmirol::web::DriverFileBytes(ReadPlanTexts(), DriverChoice(polled, rxSize, txSize, xdata), index,
                                                    Encoding(gbk), lineFeeds != 0, CodeLanguage(english), Link()));
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
  return Answer(tesmirol::web::ReloadJson(InputText(0, crystalUnits), InputText(crystalUnits, reloadUnits),
                                          InputText(target, targetUnits), InputText(target + targetUnits, uartUnits),
                                          InputText(baud, baudUnits)));
}

// As tesmirol_solve_target's input; answers the assembly text of the best
// target (sdas not 0: SDCC's sdas8051, else Keil's A51) as
// tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_asm_bytes)
std::int32_t TesmirolAsmBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                              std::uint32_t uartUnits, std::int32_t sdas, std::int32_t gbk, std::int32_t lineFeeds,
                              std::int32_t english) {
  const std::uint32_t target = crystalUnits + baudUnits;
  return AnswerBytes(tesmirol::web::TargetAsmBytes(
      InputText(0, crystalUnits), InputText(crystalUnits, baudUnits), InputText(target, targetUnits),
      InputText(target + targetUnits, uartUnits), sdas != 0 ? tesmirol::AsmSyntax::Sdas : tesmirol::AsmSyntax::A51,
      Encoding(gbk), lineFeeds != 0, CodeLanguage(english), Link()));
}
