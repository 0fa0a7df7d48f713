#pragma once
// Pieces every lookup table shares on both faces: the crystal and rate
// texts a table runs down, where its text goes row by row, the quoting of
// CSV and Markdown cells, a cell's colour and the tables' words.

#include <span>
#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/text_key.h"

namespace tesmirol::answers {

// A user's text or a preset, in UTF-8 for printing and in GBK for the engine.
struct TableInput {
  std::string utf8;
  std::string gbk;
};

// The text of a table as it is written: a writer appends a row at a time
// and calls EndRow after each. The page keeps the whole table; the command
// line passes it on to its stream in pieces (a table of thousands of rows
// never sits in memory whole).
class TableText {
 public:
  TableText() = default;
  TableText(const TableText&) = delete;
  TableText& operator=(const TableText&) = delete;
  TableText(TableText&&) = delete;
  TableText& operator=(TableText&&) = delete;
  virtual ~TableText() = default;

  std::string& Text() noexcept { return m_text; }
  // Called after each row.
  virtual void EndRow() {}

 private:
  std::string m_text;
};

// The two file formats of a table: CSV, the same in every language for
// programs, and Markdown in the user's language.
enum class TableFile { Csv, Markdown };

// The colours of the dialog's result labels: blue for a good value, red for
// a bad one; none for a cell that is neither.
enum class CellColour { None, Blue, Red };

struct TableCell {
  std::string text;
  CellColour colour = CellColour::None;
};

// The key's text in the language, in UTF-8: a heading or a word of the
// text and Markdown tables.
std::string TableWord(Language language, TextKey key);

// A cell of a Markdown table: a vertical bar in the user's text must not end
// the cell.
std::string MarkdownCell(std::string_view text);

// The heading row and the alignment row of a Markdown table.
void AppendMarkdownHeader(std::string& table, std::span<const std::string> headings,
                          std::span<const bool> rightAligned);

// One row of a Markdown table, ending in a line feed.
void AppendMarkdownRow(std::string& table, std::span<const TableCell> cells);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace tesmirol::answers
