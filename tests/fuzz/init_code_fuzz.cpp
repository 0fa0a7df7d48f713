// Fuzzes GenerateInitCode on the calculations of arbitrary crystal and baud
// texts. The outcome must follow the SMOD choice, the template's own text
// must survive in order around the filled-in values, and no placeholder may
// be left over unless the user's texts brought it in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/init_code_generator.h"
#include "codegen/text_resource.h"
#include "engine/baud_calculation.h"
#include "engine/reload_text.h"
#include "fuzz/fuzz_check.h"
#include "text/gbk_text.h"

namespace tesmirol::fuzz {
namespace {

constexpr std::array<std::string_view, 5> kPlaceholders = {"<BPS>", "<CYSTRAL>", "<TH1>", "<TL1>", "<PCON>"};

// The template cut at its placeholders: the fixed text the generated code
// must keep, in order.
std::vector<std::string_view> FixedPieces(std::string_view templateText) {
  std::vector<std::string_view> pieces;
  std::size_t pos = 0;
  while (true) {
    std::size_t next = std::string_view::npos;
    std::size_t length = 0;
    for (const std::string_view placeholder : kPlaceholders) {
      const std::size_t found = text::FindText(templateText, placeholder, pos);
      if (found < next) {
        next = found;
        length = placeholder.size();
      }
    }
    pieces.push_back(templateText.substr(pos, next - pos));
    if (next == std::string_view::npos) {
      return pieces;
    }
    pos = next + length;
  }
}

// True when the pieces occur in the text in order, without overlapping.
bool HoldsInOrder(std::string_view text, const std::vector<std::string_view>& pieces) {
  std::size_t pos = 0;
  for (const std::string_view piece : pieces) {
    const std::size_t found = text.find(piece, pos);
    if (found == std::string_view::npos) {
      return false;
    }
    pos = found + piece.size();
  }
  return true;
}

void CheckCode(const BaudCalculation& calc, std::string_view code) {
  const std::string templateText = LoadTextResource("TXT", "IDR_C_FILE");
  Require(HoldsInOrder(code, FixedPieces(templateText)), "the template's fixed text survives in order");

  // The placeholders are filled one after the other, so a placeholder can be
  // left in the code when the user's texts hold one, or when they put one
  // together around an earlier placeholder: a baud text "<<CYSTRAL>BPS>"
  // with a crystal text ending in "P<" leaves "<BPS>" once the crystal text
  // is filled in. Either way its '<' came from the user's texts, since the
  // template has none outside its placeholders.
  const bool userAngle =
      calc.crystalText.find('<') != std::string::npos || calc.baudText.find('<') != std::string::npos;
  for (const std::string_view placeholder : kPlaceholders) {
    if (text::FindText(code, placeholder) != std::string_view::npos) {
      Require(userAngle, "a placeholder is left only when the user's texts brought in its '<'");
    }
  }

  // SMOD = 0 whenever it is within tolerance, otherwise SMOD = 1.
  const bool smod1 = IsOutOfTolerance(calc.mode[0]);
  const std::string reloadText = FormatReload(calc.mode[smod1 ? 1 : 0].reload);
  const std::string pcon = smod1 ? "\tPCON |= 0x80;\r\n" : "\tPCON &= 0x7F;\r\n";
  Require(code.find("\tTH1 = " + reloadText + ";\r\n") != std::string_view::npos, "TH1 gets the chosen reload");
  Require(code.find("\tTL1 = " + reloadText + ";\r\n") != std::string_view::npos, "TL1 gets the chosen reload");
  Require(code.find(pcon) != std::string_view::npos, "PCON sets SMOD exactly when SMOD = 0 is out of tolerance");
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol;
  using namespace tesmirol::fuzz;
  const TextPair texts = SplitInTwo(AsText(data, size));
  const std::optional<BaudCalculation> calc = CalculateBaud(texts.crystal, texts.baud);
  if (!calc) {
    return 0;
  }
  const GeneratedInitCode generated = GenerateInitCode(*calc);
  const bool anyOk = calc->mode[0].status == ModeStatus::Ok || calc->mode[1].status == ModeStatus::Ok;
  const bool bothOut = IsOutOfTolerance(calc->mode[0]) && IsOutOfTolerance(calc->mode[1]);
  switch (generated.outcome) {
    case GenerationOutcome::Nothing:
      Require(!anyOk, "nothing only when neither setting is in range");
      Require(generated.text.empty(), "nothing leaves the output empty");
      break;
    case GenerationOutcome::Warning:
      Require(anyOk && bothOut, "the warning only when both settings are out of tolerance");
      Require(generated.text == kDeviationWarningText, "the warning text");
      break;
    case GenerationOutcome::Code:
      Require(anyOk && !bothOut, "code when a setting is in range and one within tolerance");
      CheckCode(*calc, generated.text);
      break;
  }
  return 0;
}
