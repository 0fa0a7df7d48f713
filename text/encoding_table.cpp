// Conversions to and from GBK for builds without iconv (the WebAssembly
// page): the table codec, whose table is taken from iconv at build time.

#include "text/encoding.h"
#include "text/gbk_table_codec.h"

namespace tesmirol::text {

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return table::Utf8ToGbk(utf8); }

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return table::GbkToUtf8(gbk); }

std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) { return table::Utf16ToGbk(utf16); }

std::optional<std::u16string> GbkToUtf16(std::string_view gbk) { return table::GbkToUtf16(gbk); }

}  // namespace tesmirol::text
