#pragma once
// Rules for GBK byte strings (code page 936): the crystal and baud texts, the
// code template and every text the program shows are such strings.
//
// A byte from 0x81 to 0xFE begins a double-byte character and the byte after
// it is that character's second (trail) byte; every other byte is a character
// by itself. Trail bytes overlap ASCII (0x40..0x7E), so a plain byte search
// would take the second half of a Chinese character for 'M', 'K' or '<'.
// Everything here walks the text character by character instead.

#include <cstddef>
#include <string>
#include <string_view>

namespace tesmirol::text {

// True when the byte begins a double-byte GBK character.
constexpr bool IsLeadByte(unsigned char byte) noexcept { return byte >= 0x81 && byte <= 0xFE; }

// Number of bytes (1 or 2) of the character that starts at pos. A lead byte
// that is the last byte of the text counts as a character of its own.
std::size_t CharLength(std::string_view text, std::size_t pos) noexcept;

// Upper-cases the text in place, character by character: ASCII a-z become
// A-Z; a double-byte character becomes its capital when it is a full-width
// letter, a Greek or Cyrillic letter or a small Roman numeral whose capital is
// itself a GBK double-byte character; everything else is left unchanged.
void UpperCaseInPlace(std::string& text);

// Position of the first character equal to the single-byte character ch, or
// npos. A trail byte never matches.
std::size_t FindChar(std::string_view text, char ch) noexcept;

// Position of the first occurrence of pattern that covers whole characters
// (starts and ends on a character boundary) at or after from, or npos. An
// empty pattern is never found.
std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from = 0) noexcept;

// Replaces every non-overlapping occurrence of pattern, left to right,
// without rescanning inserted text; matches cover whole characters only. An empty pattern leaves the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement);

}  // namespace tesmirol::text
