#pragma once
// The font a colour label draws its text with, made afresh for every paint.

#include <windows.h>

#include <array>
#include <cstdint>

namespace tesmirol {

// A label's typeface name: GBK bytes, zero-filled.
using LabelFaceName = std::array<char, 32>;

// "宋体" in GBK, the typeface of the labels.
inline constexpr LabelFaceName kSongTiFaceName{'\xCB', '\xCE', '\xCC', '\xE5'};

// The size of 96 DPI pixels at the given DPI, rounded to the nearest pixel.
int ScaleForDpi(int pixels96, UINT dpi) noexcept;

// The font of a label: a character cell |fontHeight| pixels high at 96 DPI
// (scaled to dpi), weight 700 when bold is non-zero else 400, the GB2312
// character set when a byte of the face name has its high bit set (a Chinese
// name) else ANSI, TrueType output and clipping, proof quality, variable
// pitch of the roman family, and the face name converted to UTF-16.
LOGFONTW LabelLogFont(const LabelFaceName& faceName, std::int32_t fontHeight, std::int32_t bold, UINT dpi);

}  // namespace tesmirol
