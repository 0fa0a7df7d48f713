#pragma once
// The few spans in which a new output text differs from the one the box
// shows: from one keystroke to the next, the generated SIO_Init changes in
// its description line, its reload lines and its SMOD line only, and the
// box need not lay out the other sixty-odd lines again.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol {

// The characters [start, start + length) of a text give way to `text`.
struct TextReplacement {
  std::size_t start = 0;
  std::size_t length = 0;
  std::wstring text;

  bool operator==(const TextReplacement&) const = default;
};

// Replacements that turn `before` into `after`, none when they are equal.
// With as many CR LF lines in both, each run of differing lines gives one
// replacement, trimmed to the characters that differ; otherwise one
// replacement spans everything between the common start and the common end.
// They come last span first, so that applying them in order to `before`
// leaves the start of every later one where it was.
std::vector<TextReplacement> TextReplacements(std::wstring_view before, std::wstring_view after);

}  // namespace tesmirol
