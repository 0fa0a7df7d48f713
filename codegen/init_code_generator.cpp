#include "codegen/init_code_generator.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "codegen/text_resource.h"
#include "engine/reload_text.h"
#include "text/gbk_text.h"

namespace tesmirol {

// 生成的波特率存在偏差，不建议使用该方案！
const std::string_view kDeviationWarningText =
    "\xC9\xFA\xB3\xC9\xB5\xC4\xB2\xA8\xCC\xD8\xC2\xCA\xB4\xE6\xD4\xDA\xC6\xAB\xB2\xEE"
    "\xA3\xAC\xB2\xBB\xBD\xA8\xD2\xE9\xCA\xB9\xD3\xC3\xB8\xC3\xB7\xBD\xB0\xB8\xA3\xA1";

namespace {

// "// 返回: void" in GBK, the line of the Chinese template that the notes
// go before.
constexpr std::string_view kChineseReturnsLine = "// \xB7\xB5\xBB\xD8:";
constexpr std::string_view kEnglishReturnsLine = "// Returns:";

// Where the notes go in the template: at the start of its returns line, or
// at its start when it has none. Found before the template is filled, so
// that no typed text can move it.
std::size_t NotesPosition(std::string_view code, Language language) {
  const std::string_view returns = language == Language::English ? kEnglishReturnsLine : kChineseReturnsLine;
  const std::size_t found = code.find("\r\n" + std::string(returns));
  return found == std::string_view::npos ? 0 : found + 2;
}

}  // namespace

std::string_view DeviationWarningText(Language language) noexcept {
  return language == Language::English ? "The generated baud rate deviates too far; this setting is not recommended!"
                                       : kDeviationWarningText;
}

std::string HeaderNoteLines(HeaderNotes notes, std::string_view marker) {
  std::string lines;
  for (const std::string& note : notes) {
    std::string line = note;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    lines.append(marker).append(" ").append(line).append("\r\n");
  }
  return lines;
}

std::string_view GenerationOutcomeName(GenerationOutcome outcome) noexcept {
  switch (outcome) {
    case GenerationOutcome::Nothing:
      return "Nothing";
    case GenerationOutcome::Warning:
      return "Warning";
    case GenerationOutcome::Code:
      break;
  }
  return "Code";
}

// Nothing when neither setting is in range, the warning when both are beyond
// tolerance, otherwise the code with the first setting within tolerance.
InitCodeChoice ChooseInitCodeSetting(const BaudCalculation& calculation) noexcept {
  const ModeResult& smod0 = calculation.mode[0];
  const ModeResult& smod1 = calculation.mode[1];
  if (smod0.status != ModeStatus::Ok && smod1.status != ModeStatus::Ok) {
    return {GenerationOutcome::Nothing, 0};
  }
  const bool smod0OutOfTolerance = IsOutOfTolerance(smod0);
  if (smod0OutOfTolerance && IsOutOfTolerance(smod1)) {
    return {GenerationOutcome::Warning, 0};
  }
  // SMOD = 0 wins whenever it is close enough, even if SMOD = 1 is closer:
  // the UART then runs without the doubled rate. Status plays no part here.
  return {GenerationOutcome::Code, smod0OutOfTolerance ? std::size_t{1} : std::size_t{0}};
}

// Decides what the output box holds for one calculation and, for code, fills
// a fresh copy of the template.
GeneratedInitCode GenerateInitCode(const BaudCalculation& calculation, Language language, HeaderNotes notes) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  switch (choice.outcome) {
    case GenerationOutcome::Nothing:
      return {};
    case GenerationOutcome::Warning:
      return {GenerationOutcome::Warning, std::string(DeviationWarningText(language))};
    case GenerationOutcome::Code:
      break;
  }
  const std::int32_t reload = calculation.mode.at(choice.smod).reload;
  const std::string_view pconStatement = choice.smod == 0 ? "PCON &= 0x7F" : "PCON |= 0x80";
  const std::string reloadText = FormatReload(reload);

  // The order matters: texts inserted by an earlier step are searched by the
  // later ones, so a "<TH1>" typed into the crystal box is filled in too.
  const auto fill = [&](std::string code) {
    code = text::ReplaceAll(code, "<BPS>", calculation.baudText);
    code = text::ReplaceAll(code, "<CYSTRAL>", calculation.crystalText);
    code = text::ReplaceAll(code, "<TH1>", reloadText);
    code = text::ReplaceAll(code, "<TL1>", reloadText);
    return text::ReplaceAll(code, "<PCON>", pconStatement);
  };
  std::string code = LoadTextResource("TXT", language == Language::English ? "IDR_C_FILE_EN" : "IDR_C_FILE");
  if (notes.empty()) {
    return {GenerationOutcome::Code, fill(std::move(code))};
  }
  // The two parts around the notes are filled on their own: no placeholder
  // in a note is ever filled. A placeholder never spans the line start
  // where the template is cut.
  const std::size_t at = NotesPosition(code, language);
  return {GenerationOutcome::Code, fill(code.substr(0, at)) + HeaderNoteLines(notes, "//") + fill(code.substr(at))};
}

}  // namespace tesmirol
