#pragma once
// UTF-8 forms of the dialog's UTF-16 texts, for test output and for Wine,
// which takes Linux file names in UTF-8.

#include <string>
#include <string_view>

namespace tesmirol::e2e {

// The text in UTF-8; empty when it cannot be converted.
std::string Utf8(std::wstring_view text);

}  // namespace tesmirol::e2e
