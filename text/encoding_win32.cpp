// Conversions to and from GBK through the Win32 code-page functions, with code
// page 936 named explicitly so that the result does not depend on the
// system's ANSI code page.
//
// Strict in both directions: MB_ERR_INVALID_CHARS rejects invalid or truncated
// byte sequences, and WC_NO_BEST_FIT_CHARS together with the used-default
// flag rejects characters that code page 936 cannot hold, instead of turning
// them into '?' or a look-alike.

#include "text/encoding.h"

#include <windows.h>

#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tesmirol::text {
namespace {

constexpr UINT kGbkCodePage = 936;

// The Win32 calls count in int; longer texts are refused rather than cut.
constexpr bool FitsInt(std::size_t length) noexcept { return length <= static_cast<std::size_t>(INT_MAX); }

// Decodes bytes of the given code page to UTF-16, or no result when any
// sequence is invalid in that code page.
std::optional<std::u16string> ToUtf16(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) {
    return std::u16string();
  }
  if (!FitsInt(bytes.size())) {
    return std::nullopt;
  }
  const int inLength = static_cast<int>(bytes.size());
  const int outLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
  if (outLength <= 0) {
    return std::nullopt;
  }
  std::u16string utf16(static_cast<std::size_t>(outLength), u'\0');
  // char16_t and wchar_t are both UTF-16 code units on Windows.
  auto* out = reinterpret_cast<wchar_t*>(utf16.data());  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, out, outLength) != outLength) {
    return std::nullopt;
  }
  return utf16;
}

// Encodes UTF-16 to the given code page, or no result when a code unit
// sequence is invalid or, for code page 936, a character has no GBK form.
// UTF-8 can encode every character; it takes the invalid-sequence flag
// instead of the used-default check, which Win32 refuses for it.
std::optional<std::string> FromUtf16(UINT codePage, std::u16string_view utf16) {
  if (utf16.empty()) {
    return std::string();
  }
  if (!FitsInt(utf16.size())) {
    return std::nullopt;
  }
  const auto* in =
      reinterpret_cast<const wchar_t*>(utf16.data());  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
  const int inLength = static_cast<int>(utf16.size());
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultFlag = utf8 ? nullptr : &usedDefault;
  const int outLength = WideCharToMultiByte(codePage, flags, in, inLength, nullptr, 0, nullptr, usedDefaultFlag);
  if (outLength <= 0 || usedDefault != FALSE) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(outLength), '\0');
  if (WideCharToMultiByte(codePage, flags, in, inLength, bytes.data(), outLength, nullptr, usedDefaultFlag) !=
          outLength ||
      usedDefault != FALSE) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

// UTF-8 (command-line arguments) to GBK.
std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  const std::optional<std::u16string> utf16 = ToUtf16(CP_UTF8, utf8);
  if (!utf16) {
    return std::nullopt;
  }
  return FromUtf16(kGbkCodePage, *utf16);
}

// GBK to UTF-8 (console and file output).
std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  const std::optional<std::u16string> utf16 = ToUtf16(kGbkCodePage, gbk);
  if (!utf16) {
    return std::nullopt;
  }
  return FromUtf16(CP_UTF8, *utf16);
}

// UTF-16 (the dialog's window texts) to GBK.
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) { return FromUtf16(kGbkCodePage, utf16); }

// GBK to UTF-16 (the dialog's window texts).
std::optional<std::u16string> GbkToUtf16(std::string_view gbk) { return ToUtf16(kGbkCodePage, gbk); }

}  // namespace tesmirol::text
