#pragma once
// The edge between the dialog's window texts (UTF-16, the W functions) and
// the engine's texts (GBK byte strings).

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol {

// The GBK text shown as a window text, decoded as the system decodes code
// page 936 (bytes it has no character for become its default character); no
// result only when the system cannot convert it at all.
std::optional<std::wstring> WideFromGbk(std::string_view gbk);

// The user's window text as GBK, the way the system's code page 936 would
// hand it over: a character that GBK cannot hold becomes '?'.
std::string GbkFromWide(std::wstring_view wide);

}  // namespace tesmirol
