#pragma once
// The generated code as the bytes that go into the user's source file.

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol {

// The encoding of the bytes written for the user's source file.
enum class CodeEncoding { Utf8, Gbk };

// The generated GBK text in the asked encoding (GBK unchanged, or converted
// to UTF-8), with its CR LF line ends kept or turned into LF. No result when
// the text cannot be converted.
std::optional<std::string> EncodeGeneratedCode(std::string_view gbkCode, CodeEncoding encoding, bool lineFeedsOnly);

}  // namespace tesmirol
