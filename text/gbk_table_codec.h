#pragma once
// The conversions of text/encoding.h worked out from the generated GBK table
// (text/gbk_table.h) instead of iconv: what builds without iconv use, and
// what the native tests hold against iconv character by character.

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol::text::table {

std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16);
std::optional<std::u16string> GbkToUtf16(std::string_view gbk);

}  // namespace tesmirol::text::table
