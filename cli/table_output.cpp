#include "cli/table_output.h"

namespace tesmirol::cli {
namespace {

// True for a code point that a terminal shows two columns wide (CJK
// ideographs, full-width forms, Hangul).
bool IsWide(char32_t codePoint) {
  return (codePoint >= 0x1100 && codePoint <= 0x115F) || (codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
         (codePoint >= 0xAC00 && codePoint <= 0xD7A3) || (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
         (codePoint >= 0xFE30 && codePoint <= 0xFE4F) || (codePoint >= 0xFF00 && codePoint <= 0xFF60) ||
         (codePoint >= 0xFFE0 && codePoint <= 0xFFE6) || (codePoint >= 0x20000 && codePoint <= 0x3FFFD);
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      codePoint = (codePoint << 6U) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
    }
    width += IsWide(codePoint) ? 2U : 1U;
    i += length;
  }
  return width;
}

std::string_view ColourStart(answers::CellColour colour) {
  switch (colour) {
    case answers::CellColour::Blue:
      return "\x1b[34m";
    case answers::CellColour::Red:
      return "\x1b[31m";
    case answers::CellColour::None:
      break;
  }
  return "";
}

}  // namespace tesmirol::cli
