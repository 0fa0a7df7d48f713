#pragma once
// Pieces every table of the command line shares: output in chunks, the
// width a text takes on a terminal, and the quoting of CSV and Markdown
// cells.

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace tesmirol::cli {

// Collects the table's text and hands it to the stream in pieces, so that a
// table of thousands of rows never sits in memory whole.
class ChunkedOutput {
 public:
  explicit ChunkedOutput(std::ostream& out) : m_out(out) { m_text.reserve(kChunk + kChunk / 8); }

  std::string& Text() noexcept { return m_text; }

  // Called after each row: passes the text on once a piece is full.
  void EndRow() {
    if (m_text.size() >= kChunk) {
      Flush();
    }
  }

  void Flush() {
    m_out << m_text;
    m_text.clear();
  }

 private:
  static constexpr std::size_t kChunk = std::size_t{32} * 1024;
  std::ostream& m_out;
  std::string m_text;
};

// The columns a UTF-8 text takes on a terminal.
std::size_t DisplayWidth(std::string_view utf8);

// A cell of a Markdown table: a vertical bar in the user's text must not end
// the cell.
std::string MarkdownCell(std::string_view text);

// The heading row and the alignment row of a Markdown table.
void AppendMarkdownHeader(std::string& table, std::span<const std::string_view> headings,
                          std::span<const bool> rightAligned);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace tesmirol::cli
