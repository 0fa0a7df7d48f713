#pragma once
// Conversions between GBK (code page 936) and the encodings the front ends
// speak: UTF-8 on the command line, UTF-16 in Win32's wide-character calls.
// They go through the platform (iconv, or the Win32 code-page functions), so
// the mapping is the system's own code page 936.
//
// Each returns no result when the input is not valid in its encoding or holds
// a character that the target cannot represent; nothing is silently replaced.

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol::text {

std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16);
std::optional<std::u16string> GbkToUtf16(std::string_view gbk);

}  // namespace tesmirol::text
