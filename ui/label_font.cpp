#include "ui/label_font.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "text/encoding.h"

namespace tesmirol {
namespace {

// The DPI that sizes in pixels are given for.
constexpr int kBaseDpi = 96;

// True when a byte of the name is the lead or trail byte of a GBK character.
bool HasHighBitByte(const LabelFaceName& faceName) noexcept {
  return std::any_of(faceName.begin(), faceName.end(),
                     [](char byte) { return (static_cast<unsigned char>(byte) & 0x80U) != 0; });
}

}  // namespace

// Rounds half away from zero, as MulDiv does when the system scales its own
// metrics; results beyond int are held at its limits.
int ScaleForDpi(int pixels96, UINT dpi) noexcept {
  const std::int64_t scaled = std::int64_t{pixels96} * std::int64_t{dpi};
  const std::int64_t half = kBaseDpi / 2;
  const std::int64_t rounded = scaled >= 0 ? (scaled + half) / kBaseDpi : (scaled - half) / kBaseDpi;
  return static_cast<int>(std::clamp<std::int64_t>(rounded, INT_MIN, INT_MAX));
}

// Fills the LOGFONTW field by field.
LOGFONTW LabelLogFont(const LabelFaceName& faceName, std::int32_t fontHeight, std::int32_t bold, UINT dpi) {
  LOGFONTW font{};
  // A positive height asks for the character cell; INT32_MIN has no absolute
  // value in 32 bits and is held at the largest one.
  const std::int32_t cellHeight = fontHeight == INT32_MIN ? INT32_MAX : std::abs(fontHeight);
  font.lfHeight = ScaleForDpi(cellHeight, dpi);
  font.lfWidth = 0;
  font.lfEscapement = 0;
  font.lfOrientation = 0;
  font.lfWeight = bold != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  font.lfStrikeOut = FALSE;
  font.lfCharSet = HasHighBitByte(faceName) ? GB2312_CHARSET : ANSI_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = CLIP_TT_ALWAYS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;

  std::string_view gbkName(faceName.data(), faceName.size());
  gbkName = gbkName.substr(0, gbkName.find('\0'));
  const std::optional<std::u16string> name = text::GbkToUtf16(gbkName);
  if (name) {
    // LF_FACESIZE includes the terminating zero; a name that cannot be read
    // leaves the face empty and the system picks one by the other fields.
    const std::size_t length = std::min<std::size_t>(name->size(), LF_FACESIZE - 1);
    std::copy_n(name->begin(), length, std::begin(font.lfFaceName));
  }
  return font;
}

}  // namespace tesmirol
