#pragma once
// Pieces every table of the command line shares: output in chunks, the
// width a text takes on a terminal, and the quoting of CSV and Markdown
// cells.

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// A JSON array with one compact object a line, each row written as it is
// made: "[", the rows, then "]" on a line of its own.
class JsonRows {
 public:
  explicit JsonRows(ChunkedOutput& output) : m_output(output) { m_output.Text() += '['; }

  void Append(const std::string& compactObject) {
    std::string& text = m_output.Text();
    text += m_first ? "\n  " : ",\n  ";
    m_first = false;
    text += compactObject;
    m_output.EndRow();
  }

  void Close() { m_output.Text() += "\n]\n"; }

 private:
  ChunkedOutput& m_output;
  bool m_first = true;
};

// The columns a UTF-8 text takes on a terminal.
std::size_t DisplayWidth(std::string_view utf8);

// A cell of a Markdown table: a vertical bar in the user's text must not end
// the cell.
std::string MarkdownCell(std::string_view text);

// The heading row and the alignment row of a Markdown table.
void AppendMarkdownHeader(std::string& table, std::span<const std::string> headings,
                          std::span<const bool> rightAligned);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// One row of a text table: its cells, and whether its deviation is beyond
// the tolerance (red on a terminal, blue otherwise).
template <std::size_t N>
using ColouredRow = std::pair<std::array<std::string, N>, bool>;

// Appends the heading and the rows, every cell padded to its column's widest
// (right-aligned where rightAligned says), two blanks between columns, the
// deviation column coloured when colour is on and the cell is not "-".
template <std::size_t N>
void AppendAlignedTable(ChunkedOutput& output, const std::array<std::string, N>& headings,
                        const std::array<bool, N>& rightAligned, std::size_t deviationColumn,
                        const std::vector<ColouredRow<N>>& rows, bool colour) {
  std::array<std::size_t, N> widths{};
  for (std::size_t column = 0; column < N; ++column) {
    widths.at(column) = DisplayWidth(headings.at(column));
  }
  for (const auto& row : rows) {
    for (std::size_t column = 0; column < N; ++column) {
      widths.at(column) = std::max(widths.at(column), DisplayWidth(row.first.at(column)));
    }
  }
  std::string& table = output.Text();
  const auto appendRow = [&](const std::array<std::string, N>& cells, bool red) {
    for (std::size_t column = 0; column < N; ++column) {
      const std::size_t padding = widths.at(column) - DisplayWidth(cells.at(column));
      const bool last = column + 1 == N;
      if (rightAligned.at(column)) {
        table.append(padding, ' ');
      }
      const bool coloured = colour && column == deviationColumn && cells.at(column) != "-";
      table += coloured ? (red ? "\x1b[31m" : "\x1b[34m") : "";
      table += cells.at(column);
      table += coloured ? "\x1b[0m" : "";
      if (!rightAligned.at(column) && !last) {
        table.append(padding, ' ');
      }
      table += last ? "\n" : "  ";
    }
  };
  appendRow(headings, false);
  for (const auto& [cells, red] : rows) {
    appendRow(cells, red);
    output.EndRow();
  }
}

}  // namespace tesmirol::cli
