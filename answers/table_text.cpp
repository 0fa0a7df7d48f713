#include "answers/table_text.h"

#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {

std::string TableWord(Language language, TextKey key) {
  // The tables are written in UTF-8 and converted to GBK by the build, so
  // the way back cannot fail.
  const std::string_view gbk = Text(language, key);
  return text::GbkToUtf8(gbk).value_or(std::string(gbk));
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

void AppendMarkdownRow(std::string& table, std::span<const TableCell> cells) {
  table += "|";
  for (const TableCell& cell : cells) {
    table += ' ';
    table += MarkdownCell(cell.text);
    table += " |";
  }
  table += '\n';
}

}  // namespace tesmirol::answers
