#include "codegen/code_bytes.h"

#include "text/encoding.h"

namespace tesmirol {
namespace {

// Every CR LF as a lone LF. A GBK trail byte is never CR or LF, so working on
// the bytes cannot split a character.
std::string WithLineFeeds(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    result += text[i];
  }
  return result;
}

}  // namespace

std::optional<std::string> EncodeGeneratedCode(std::string_view gbkCode, CodeEncoding encoding, bool lineFeedsOnly) {
  std::string lines = lineFeedsOnly ? WithLineFeeds(gbkCode) : std::string(gbkCode);
  if (encoding == CodeEncoding::Gbk) {
    return lines;
  }
  return text::GbkToUtf8(lines);
}

}  // namespace tesmirol
