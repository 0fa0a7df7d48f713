#include "cli/utf8_text.h"

#include <span>
#include <string_view>

#include "text/encoding.h"

namespace tesmirol::cli {

std::string Utf8Text(Language language, TextKey key, std::initializer_list<TextArgument> arguments) {
  // The tables are written in UTF-8 and converted to GBK by the build, so
  // the way back cannot fail.
  const std::string_view gbk = Text(language, key);
  const std::string pattern = text::GbkToUtf8(gbk).value_or(std::string(gbk));
  return FillPlaceholders(pattern, std::span<const TextArgument>(arguments.begin(), arguments.size()));
}

}  // namespace tesmirol::cli
