#pragma once
// Pieces every table of the command line shares: output in chunks, the
// width a text takes on a terminal and the aligned text table. The CSV and
// Markdown cells are answers/' (table_text.h), shared with the page.

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "answers/table_text.h"

namespace tesmirol::cli {

// Collects the table's text and hands it to the stream in pieces, so that a
// table of thousands of rows never sits in memory whole.
class ChunkedOutput final : public answers::TableText {
 public:
  explicit ChunkedOutput(std::ostream& out) : m_out(out) { Text().reserve(kChunk + kChunk / 8); }

  // Called after each row: passes the text on once a piece is full.
  void EndRow() override {
    if (Text().size() >= kChunk) {
      Flush();
    }
  }

  void Flush() {
    m_out << Text();
    Text().clear();
  }

 private:
  static constexpr std::size_t kChunk = std::size_t{32} * 1024;
  std::ostream& m_out;
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

// The ANSI sequence that starts a cell's colour; empty for none.
std::string_view ColourStart(answers::CellColour colour);

using answers::CsvField;

// Appends the heading and the rows, every cell padded to its column's widest
// (right-aligned where rightAligned says), two blanks between columns, a
// cell with a colour coloured when colour is on. forEachRow(visit) calls
// visit with each row's cells, in order; it is called twice, the first
// time for the column widths.
template <std::size_t N, typename ForEachRow>
void AppendAlignedTable(ChunkedOutput& output, const std::array<std::string, N>& headings,
                        const std::array<bool, N>& rightAligned, ForEachRow forEachRow, bool colour) {
  using Cells = std::array<answers::TableCell, N>;
  std::array<std::size_t, N> widths{};
  for (std::size_t column = 0; column < N; ++column) {
    widths.at(column) = DisplayWidth(headings.at(column));
  }
  forEachRow([&widths](const Cells& cells) {
    for (std::size_t column = 0; column < N; ++column) {
      widths.at(column) = std::max(widths.at(column), DisplayWidth(cells.at(column).text));
    }
  });
  std::string& table = output.Text();
  const auto appendCell = [&](const std::string& text, answers::CellColour cellColour, std::size_t column) {
    const std::size_t padding = widths.at(column) - DisplayWidth(text);
    const bool last = column + 1 == N;
    if (rightAligned.at(column)) {
      table.append(padding, ' ');
    }
    // Padded outside the colour sequences, so that they take no room.
    const std::string_view start = colour ? ColourStart(cellColour) : std::string_view();
    table += start;
    table += text;
    table += start.empty() ? "" : "\x1b[0m";
    if (!rightAligned.at(column) && !last) {
      table.append(padding, ' ');
    }
    table += last ? "\n" : "  ";
  };
  for (std::size_t column = 0; column < N; ++column) {
    appendCell(headings.at(column), answers::CellColour::None, column);
  }
  forEachRow([&appendCell, &output](const Cells& cells) {
    for (std::size_t column = 0; column < N; ++column) {
      appendCell(cells.at(column).text, cells.at(column).colour, column);
    }
    output.EndRow();
  });
}

}  // namespace tesmirol::cli
