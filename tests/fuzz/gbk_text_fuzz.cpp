// Fuzzes the GBK text rules with arbitrary bytes: upper-casing must keep the
// length and every first byte, and change a second byte only where a letter
// becomes its capital (a trail byte such as the 'a' of 0xB4 0x61 is never
// upper-cased on its own); search and
// replacement must match exactly the places where the pattern covers whole
// characters, worked out here from the text's own list of boundaries.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace tesmirol::fuzz {
namespace {

// For every byte position and the end, whether a character starts there.
std::vector<bool> Boundaries(std::string_view text) {
  std::vector<bool> boundaries(text.size() + 1, false);
  for (std::size_t pos = 0; pos < text.size(); pos += text::CharLength(text, pos)) {
    boundaries[pos] = true;
  }
  boundaries[text.size()] = true;
  return boundaries;
}

// The one UTF-16 unit a double-byte character stands for, if any.
std::optional<char16_t> Decode(std::string_view character) {
  const std::optional<std::u16string> utf16 = text::GbkToUtf16(character);
  if (!utf16 || utf16->size() != 1) {
    return std::nullopt;
  }
  return utf16->front();
}

void CheckUpperCase(std::string_view original) {
  std::string upper(original);
  text::UpperCaseInPlace(upper);
  Require(upper.size() == original.size(), "upper-casing keeps the length");
  for (std::size_t pos = 0; pos < original.size(); pos += text::CharLength(original, pos)) {
    const char byte = original[pos];
    if (text::CharLength(original, pos) == 1) {
      const char expected = byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
      Require(upper[pos] == expected, "a single byte changes only from a-z to A-Z");
      continue;
    }
    // A letter and its capital share their first byte in GBK (full-width,
    // Greek and Cyrillic rows); only the second byte may differ, and only
    // when the character really became another one.
    Require(upper[pos] == byte, "upper-casing keeps every first byte");
    const std::optional<char16_t> before = Decode(original.substr(pos, 2));
    if (upper[pos + 1] != original[pos + 1]) {
      const std::optional<char16_t> after = Decode(std::string_view(upper).substr(pos, 2));
      Require(before && after && *before != *after, "a second byte changes only when a letter becomes its capital");
    }
    if (before && *before >= u'\uFF41' && *before <= u'\uFF5A') {
      Require(Decode(std::string_view(upper).substr(pos, 2)) == static_cast<char16_t>(*before - 0x20),
              "a full-width small letter becomes its full-width capital");
    } else if (before && *before >= u'\u4E00' && *before <= u'\u9FFF') {
      Require(upper.compare(pos, 2, original.substr(pos, 2)) == 0, "a Chinese character never changes");
    }
  }
  std::string again = upper;
  text::UpperCaseInPlace(again);
  Require(again == upper, "upper-casing twice changes nothing more");
}

// Whether the pattern matches at pos covering whole characters.
bool MatchesWhole(std::string_view text, const std::vector<bool>& boundaries, std::size_t pos,
                  std::string_view pattern) {
  return pos + pattern.size() <= text.size() && boundaries[pos] && boundaries[pos + pattern.size()] &&
         text.substr(pos, pattern.size()) == pattern;
}

void CheckSearch(std::string_view text, std::string_view pattern) {
  const std::vector<bool> boundaries = Boundaries(text);

  const std::size_t unit = text::FindChar(text, 'M');
  for (std::size_t pos = 0; pos < text.size() && pos <= unit; ++pos) {
    const bool isM = boundaries[pos] && text::CharLength(text, pos) == 1 && text[pos] == 'M';
    Require(isM == (pos == unit), "FindChar gives the first 'M' that is a character of its own");
  }

  if (pattern.empty()) {
    Require(text::FindText(text, pattern) == std::string_view::npos, "an empty pattern is never found");
    Require(text::ReplaceAll(text, pattern, "{}") == text, "an empty pattern replaces nothing");
    return;
  }
  std::string expected;
  std::optional<std::size_t> first;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (MatchesWhole(text, boundaries, pos, pattern)) {
      first = first.value_or(pos);
      expected += "{}";
      pos += pattern.size();
    } else {
      expected += text[pos];
      ++pos;
    }
  }
  Require(text::FindText(text, pattern) == first.value_or(std::string_view::npos),
          "FindText gives the first match that covers whole characters");
  Require(text::ReplaceAll(text, pattern, "{}") == expected,
          "ReplaceAll replaces exactly the non-overlapping whole-character matches");
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol::fuzz;
  const TextPair parts = SplitInTwo(AsText(data, size));
  CheckUpperCase(parts.crystal);
  CheckUpperCase(parts.baud);
  CheckSearch(parts.crystal, parts.baud);
  return 0;
}
