#pragma once
// The generated code as the bytes that go into the user's source file.

#include <optional>
#include <string>
#include <string_view>

#include "cli/command_line_options.h"

namespace tesmirol::cli {

// The generated GBK text in the asked encoding (GBK unchanged, or converted
// to UTF-8), with its CR LF line ends kept or turned into LF. No result when
// the text cannot be converted.
std::optional<std::string> EncodeGeneratedCode(std::string_view gbkCode, CodeEncoding encoding, bool lineFeedsOnly);

}  // namespace tesmirol::cli
