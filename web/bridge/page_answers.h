#pragma once
// What the page asks the engine and the generator, answered as JSON text
// (UTF-8) or as the bytes of a file. The page's texts arrive as UTF-16, as
// JavaScript holds them, and go to GBK once, here at the edge.

#include <optional>
#include <string>
#include <string_view>

#include "codegen/code_bytes.h"
#include "engine/language.h"
#include "web/bridge/link_answers.h"

namespace tesmirol::web {

// Everything the page shows for one crystal text and one baud text:
//   {"status":"ok","calculation":{...}}, or the status "crystalNotGbk",
//   "baudNotGbk" (a character GBK cannot hold, or a broken UTF-16 text) or
//   "noResult" (the engine gives none) without a calculation.
// The calculation holds the fields of the command line's --json report
// (doubles as their bits), the reload texts, the generated output in the
// language and the link of the setting the code uses ("link", see
// WriteLink; the code's header comment carries its note).
std::string CalculationJson(std::u16string_view crystal, std::u16string_view baud, Language language,
                            const LinkTexts& link);

// The crystal finder for one baud text: every crystal preset against it,
// with what the table's cells show (reload text, status, achieved rate,
// deviation text, tolerance, outcome and chosen SMOD) and its link's verdict
// and margin, in preset order or ranked by link margin. An empty array when
// the text is not GBK.
std::string CrystalTableJson(std::u16string_view baud, const LinkTexts& link, bool rankByLink);

// The preset lists: {"crystals":[...],"bauds":[...]}.
std::string PresetsJson();

// The labels the reports put before their numbers, the dialog's own (in
// Chinese, as UTF-8): {"selectedCrystal", "minimum", "maximum", "tooLow",
// "tooHigh", "achieved", "deviation", "outOfTolerance"}.
std::string ReportLabelsJson();

// The bytes of the generated SIO_Init in the language, as the command
// line's --code writes them (with the link's note when a link is asked
// about); no result when the inputs give no code.
std::optional<std::string> InitCodeBytes(std::u16string_view crystal, std::u16string_view baud, CodeEncoding encoding,
                                         bool lineFeedsOnly, Language language, const LinkTexts& link);

}  // namespace tesmirol::web
