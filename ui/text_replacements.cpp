#include "ui/text_replacements.h"

#include <algorithm>
#include <utility>

namespace tesmirol {
namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";

// Where each line of the text starts and ends (the end before its CR LF).
struct LineSpan {
  std::size_t start;
  std::size_t end;
};

std::vector<LineSpan> SplitLines(std::wstring_view text) {
  std::vector<LineSpan> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(kLineEnd, start);
    if (end == std::wstring_view::npos) {
      lines.push_back({start, text.size()});
      return lines;
    }
    lines.push_back({start, end});
    start = end + kLineEnd.size();
  }
}

// The replacement of `before` by `after` inside a text, starting at offset,
// trimmed of what both share at their start and at their end.
TextReplacement Trimmed(std::size_t offset, std::wstring_view before, std::wstring_view after) {
  const std::size_t shortest = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < shortest && before[head] == after[head]) {
    ++head;
  }
  // The end is matched only within what the start left, so that the two
  // never overlap.
  const std::size_t tailLimit = shortest - head;
  std::size_t tail = 0;
  while (tail != tailLimit && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  return {offset + head, before.size() - head - tail, std::wstring(after.substr(head, after.size() - head - tail))};
}

}  // namespace

// Line by line when the line counts agree, else one trimmed span.
std::vector<TextReplacement> TextReplacements(std::wstring_view before, std::wstring_view after) {
  std::vector<TextReplacement> replacements;
  if (before == after) {
    return replacements;
  }
  const std::vector<LineSpan> oldLines = SplitLines(before);
  const std::vector<LineSpan> newLines = SplitLines(after);
  if (oldLines.size() != newLines.size()) {
    replacements.push_back(Trimmed(0, before, after));
    return replacements;
  }
  const auto lineOf = [](std::wstring_view text, const LineSpan& line) {
    return text.substr(line.start, line.end - line.start);
  };
  std::size_t line = 0;
  while (line < oldLines.size()) {
    if (lineOf(before, oldLines[line]) == lineOf(after, newLines[line])) {
      ++line;
      continue;
    }
    const std::size_t first = line;
    while (line < oldLines.size() && lineOf(before, oldLines[line]) != lineOf(after, newLines[line])) {
      ++line;
    }
    const std::size_t last = line - 1;
    const std::wstring_view oldRun = before.substr(oldLines[first].start, oldLines[last].end - oldLines[first].start);
    const std::wstring_view newRun = after.substr(newLines[first].start, newLines[last].end - newLines[first].start);
    replacements.push_back(Trimmed(oldLines[first].start, oldRun, newRun));
  }
  std::ranges::reverse(replacements);
  return replacements;
}

}  // namespace tesmirol
