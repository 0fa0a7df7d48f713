#pragma once
// The C source of SIO_Init for one calculation, filled in from the template.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol {

enum class GenerationOutcome {
  Nothing,  // neither SMOD setting is in range: the output stays empty
  Warning,  // both settings deviate by more than 1 %
  Code,     // the filled template
};

struct GeneratedInitCode {
  GenerationOutcome outcome = GenerationOutcome::Nothing;
  std::string text;  // GBK; empty for Nothing
};

// The outcome under its own name ("Nothing", "Warning", "Code"), as reports
// and tables write it.
std::string_view GenerationOutcomeName(GenerationOutcome outcome) noexcept;

// What the generator does for one calculation: the outcome and, for Code,
// the SMOD setting whose reload the code loads into TH1.
struct InitCodeChoice {
  GenerationOutcome outcome = GenerationOutcome::Nothing;
  std::size_t smod = 0;  // index into BaudCalculation::mode; meaningful for Code only
};

// Decides between nothing, the warning and the code, and for code which SMOD
// setting it uses: SMOD = 0 whenever it is within tolerance, otherwise SMOD = 1.
InitCodeChoice ChooseInitCodeSetting(const BaudCalculation& calculation) noexcept;

// "生成的波特率存在偏差，不建议使用该方案！" in GBK.
extern const std::string_view kDeviationWarningText;

// The warning in the language: kDeviationWarningText, or its English twin.
std::string_view DeviationWarningText(Language language) noexcept;

// The lines a caller adds to the header comment of a generated text (a
// verdict on the serial link, say): GBK, already worded, one line each and
// without the comment marker. Each becomes a line "// " + note of the
// header comment, in the order given, right before its "返回"/"Returns"
// line (in a target's init function that is right after its formula line);
// in the assembly text, "; " + note right after the formula line. Line ends
// inside a note are turned into spaces so that a note never leaves the
// comment.
using HeaderNotes = std::span<const std::string>;

// The note lines as comment lines with CR LF line ends: marker + " " + note.
std::string HeaderNoteLines(HeaderNotes notes, std::string_view marker);

// The text of ChooseInitCodeSetting's outcome; for code, reads the template
// of the language afresh (the Chinese template, the dialog's own text, or
// its English twin) and fills <BPS>, <CYSTRAL>, <TH1>, <TL1> and <PCON>, in
// that order, preferring SMOD = 0 whenever it is within tolerance. The
// notes go into the header comment before its "返回"/"Returns" line; with
// none, the Chinese text is the template's, byte for byte.
GeneratedInitCode GenerateInitCode(const BaudCalculation& calculation, Language language = Language::Chinese,
                                   HeaderNotes notes = {});

}  // namespace tesmirol
