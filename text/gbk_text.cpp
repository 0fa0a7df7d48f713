// Character-by-character rules for GBK byte strings: upper-casing, search and
// replacement that never take a trail byte for a character of its own.

#include "text/gbk_text.h"

#include "text/encoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tesmirol::text {
namespace {

// The capital of a small letter among the double-byte characters the Chinese
// (PRC) mapping upper-cases: full-width Latin, Greek, Cyrillic and small Roman
// numerals. No result for any other code point.
std::optional<char16_t> CapitalOf(char16_t small) noexcept {
  const auto shifted = [small](int offset) { return static_cast<char16_t>(small - offset); };
  if (small >= u'\uFF41' && small <= u'\uFF5A') {  // ａ..ｚ -> Ａ..Ｚ
    return shifted(0x20);
  }
  if (small == u'\u03C2') {  // final ς -> Σ
    return u'\u03A3';
  }
  if (small >= u'\u03B1' && small <= u'\u03C9') {  // α..ω -> Α..Ω
    return shifted(0x20);
  }
  if (small >= u'\u0430' && small <= u'\u044F') {  // а..я -> А..Я
    return shifted(0x20);
  }
  if (small >= u'\u0450' && small <= u'\u045F') {  // ѐ..џ (ё among them) -> Ѐ..Џ
    return shifted(0x50);
  }
  if (small >= u'\u2170' && small <= u'\u217F') {  // ⅰ..ⅿ -> Ⅰ..Ⅿ
    return shifted(0x10);
  }
  return std::nullopt;
}

// Upper-cases the double-byte character at text[pos], text[pos + 1] when it
// has a capital that is itself one double-byte character; the character is
// read and written through the system's code page 936 conversion.
void UpperCaseDoubleByte(std::string& text, std::size_t pos) {
  const std::optional<std::u16string> decoded = GbkToUtf16(std::string_view(text).substr(pos, 2));
  if (!decoded || decoded->size() != 1) {
    return;
  }
  const std::optional<char16_t> capital = CapitalOf(decoded->front());
  if (!capital) {
    return;
  }
  const std::optional<std::string> encoded = Utf16ToGbk(std::u16string_view(&*capital, 1));
  if (!encoded || encoded->size() != 2 || !IsLeadByte(static_cast<unsigned char>(encoded->front()))) {
    return;
  }
  text[pos] = (*encoded)[0];
  text[pos + 1] = (*encoded)[1];
}

// True when the pattern's last character is a lead byte standing alone. Such a
// pattern may only match at the very end of a text: anywhere else the byte it
// would match is the first half of a double-byte character.
bool EndsWithLoneLeadByte(std::string_view pattern) noexcept {
  std::size_t pos = 0;
  std::size_t lastLength = 0;
  while (pos < pattern.size()) {
    lastLength = CharLength(pattern, pos);
    pos += lastLength;
  }
  return lastLength == 1 && IsLeadByte(static_cast<unsigned char>(pattern.back()));
}

// True when pattern occurs at pos covering whole characters; pos must be a
// character boundary of text.
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view pattern, bool loneLeadAtEnd) noexcept {
  if (text.substr(pos, pattern.size()) != pattern) {
    return false;
  }
  return !loneLeadAtEnd || pos + pattern.size() == text.size();
}

// True when pos starts a character. Every byte outside 0x81..0xFE ends a
// character (it is a character of its own or a second byte), so only the run
// of lead-range bytes just before pos matters: those pair up from the run's
// start, and pos starts a character exactly when the run's length is even.
bool IsCharBoundary(std::string_view text, std::size_t pos) noexcept {
  std::size_t run = 0;
  while (run < pos && IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) {
    ++run;
  }
  return run % 2 == 0;
}

// The first match at or after from that starts on a character boundary:
// byte search finds the candidates, the boundary test rejects those that
// begin on the second byte of a double-byte character.
std::size_t FindMatch(std::string_view text, std::string_view pattern, std::size_t from, bool loneLeadAtEnd) noexcept {
  for (std::size_t candidate = text.find(pattern, from); candidate != std::string_view::npos;
       candidate = text.find(pattern, candidate + 1)) {
    if (IsCharBoundary(text, candidate) && MatchesAt(text, candidate, pattern, loneLeadAtEnd)) {
      return candidate;
    }
  }
  return std::string_view::npos;
}

}  // namespace

// Length of the character at pos, so callers can step from one character
// boundary to the next.
std::size_t CharLength(std::string_view text, std::size_t pos) noexcept {
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]))) {
    return 2;
  }
  return 1;
}

// Upper-cases the crystal text (and any other GBK text) so that unit letters
// are recognised whatever case the user typed.
void UpperCaseInPlace(std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char byte = text[pos];
    if (byte >= 'a' && byte <= 'z') {
      // ASCII letters are mapped directly: no locale is consulted, so
      // the result does not depend on how the program was started.
      text[pos] = static_cast<char>(byte - ('a' - 'A'));
      ++pos;
    } else if (CharLength(text, pos) == 2) {
      UpperCaseDoubleByte(text, pos);
      pos += 2;
    } else {
      ++pos;
    }
  }
}

// Finds a single-byte character such as the unit letters 'M' and 'K'.
std::size_t FindChar(std::string_view text, char ch) noexcept {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLength(text, pos);
    if (length == 1 && text[pos] == ch) {
      return pos;
    }
    pos += length;
  }
  return std::string_view::npos;
}

// Finds a placeholder or other text at a character boundary.
std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from) noexcept {
  if (pattern.empty()) {
    return std::string_view::npos;
  }
  return FindMatch(text, pattern, from, EndsWithLoneLeadByte(pattern));
}

// Fills placeholders: each match is replaced once, and the scan continues
// after it in the original text, so inserted text is never searched again.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) {
    return std::string(text);
  }
  const bool loneLeadAtEnd = EndsWithLoneLeadByte(pattern);
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  for (std::size_t match = FindMatch(text, pattern, pos, loneLeadAtEnd); match != std::string_view::npos;
       match = FindMatch(text, pattern, pos, loneLeadAtEnd)) {
    result.append(text.substr(pos, match - pos));
    result.append(replacement);
    // A match covers whole characters, so its end is a boundary too.
    pos = match + pattern.size();
  }
  result.append(text.substr(pos));
  return result;
}

}  // namespace tesmirol::text
