#include "ui/wide_text.h"

#include <windows.h>

#include <climits>

#include "text/encoding.h"

namespace tesmirol {
namespace {

constexpr UINT kGbkCodePage = 936;

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

// Converts through code page 936 the way the system decodes a window text.
// A strict conversion fails on bytes that came from characters of the user's
// own (U+F8F5 is byte 0xFF), so those texts are decoded leniently, giving
// the user's character back instead of an empty output box.
std::optional<std::wstring> WideFromGbk(std::string_view gbk) {
  if (const std::optional<std::u16string> utf16 = text::GbkToUtf16(gbk)) {
    return std::wstring(utf16->begin(), utf16->end());
  }
  if (gbk.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::nullopt;
  }
  const int inLength = static_cast<int>(gbk.size());
  const int outLength = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, nullptr, 0);
  if (outLength <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(outLength), L'\0');
  if (MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, wide.data(), outLength) != outLength) {
    return std::nullopt;
  }
  return wide;
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
