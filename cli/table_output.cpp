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

std::string MarkdownCell(std::string_view text) {
  std::string cell;
  for (const char ch : text) {
    if (ch == '|' || ch == '\\') {
      cell += '\\';
    }
    cell += ch;
  }
  return cell;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string field = "\"";
  for (const char ch : text) {
    if (ch == '"') {
      field += '"';
    }
    field += ch;
  }
  field += '"';
  return field;
}

void AppendMarkdownHeader(std::string& table, std::span<const std::string> headings,
                          std::span<const bool> rightAligned) {
  table += "|";
  for (const std::string& heading : headings) {
    table += ' ';
    table += heading;
    table += " |";
  }
  table += "\n|";
  for (const bool right : rightAligned) {
    table += right ? "---:|" : "---|";
  }
  table += '\n';
}

}  // namespace tesmirol::cli
