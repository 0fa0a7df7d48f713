#pragma once
// The edge between the dialog's window texts (UTF-16, the W functions) and
// the engine's texts (GBK byte strings).

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol {

// The GBK text shown as a window text, or no result when it is not valid
// GBK.
std::optional<std::wstring> WideFromGbk(std::string_view gbk);

// The user's window text as GBK, the way the system's code page 936 would
// hand it over: a character that GBK cannot hold becomes '?'.
std::string GbkFromWide(std::wstring_view wide);

}  // namespace tesmirol
