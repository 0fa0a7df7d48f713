#include "ui/wide_text.h"

#include "text/encoding.h"

namespace tesmirol {
namespace {

// True for the first half of a surrogate pair.
constexpr bool IsHighSurrogate(wchar_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }

// True for the second half of a surrogate pair.
constexpr bool IsLowSurrogate(wchar_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Code units of the character at pos: 2 for a whole surrogate pair, else 1
// (a lone surrogate counts as a character of its own).
std::size_t CharacterLength(std::wstring_view wide, std::size_t pos) noexcept {
  return IsHighSurrogate(wide[pos]) && pos + 1 < wide.size() && IsLowSurrogate(wide[pos + 1]) ? 2 : 1;
}

// The UTF-16 code units of a window text; wchar_t is UTF-16 on Windows.
std::u16string ToUtf16(std::wstring_view wide) { return {wide.begin(), wide.end()}; }

}  // namespace

// Converts through code page 936.
std::optional<std::wstring> WideFromGbk(std::string_view gbk) {
  const std::optional<std::u16string> utf16 = text::GbkToUtf16(gbk);
  if (!utf16) {
    return std::nullopt;
  }
  return std::wstring(utf16->begin(), utf16->end());
}

// Converts the whole text at once; only when that fails, character by
// character, putting '?' for each character that has no GBK form.
std::string GbkFromWide(std::wstring_view wide) {
  if (std::optional<std::string> gbk = text::Utf16ToGbk(ToUtf16(wide))) {
    return *std::move(gbk);
  }
  std::string gbk;
  for (std::size_t pos = 0; pos < wide.size();) {
    const std::size_t length = CharacterLength(wide, pos);
    const std::optional<std::string> character = text::Utf16ToGbk(ToUtf16(wide.substr(pos, length)));
    gbk += character ? *character : "?";
    pos += length;
  }
  return gbk;
}

}  // namespace tesmirol
