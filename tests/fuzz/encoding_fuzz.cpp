// Fuzzes the conversions between GBK and UTF-8 / UTF-16 with arbitrary
// bytes, read as each of the three encodings in turn. A conversion that
// succeeds must come back unchanged the other way, must accept only valid
// input and give valid output, and the UTF-8 and UTF-16 views of one GBK text
// must agree character for character with the GBK text's own characters.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace tesmirol::fuzz {
namespace {

// The code points of a UTF-8 text; no result when it is not valid UTF-8
// (stray or missing continuation bytes, overlong forms, surrogates, values
// beyond U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view utf8) {
  std::u32string codePoints;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80U) {
      length = 1;
      value = lead;
    } else if ((lead & 0xE0U) == 0xC0U) {
      length = 2;
      value = lead & 0x1FU;
      smallest = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
      length = 3;
      value = lead & 0x0FU;
      smallest = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
      length = 4;
      value = lead & 0x07U;
      smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (pos + length > utf8.size()) {
      return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(utf8[pos + i]);
      if ((next & 0xC0U) != 0x80U) {
        return std::nullopt;
      }
      value = (value << 6U) | (next & 0x3FU);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return std::nullopt;
    }
    codePoints.push_back(value);
    pos += length;
  }
  return codePoints;
}

// The code points of UTF-16 code units; no result for an unpaired surrogate.
std::optional<std::u32string> DecodeUtf16(std::u16string_view utf16) {
  std::u32string codePoints;
  for (std::size_t pos = 0; pos < utf16.size(); ++pos) {
    const char16_t unit = utf16[pos];
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return std::nullopt;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (pos + 1 == utf16.size() || utf16[pos + 1] < 0xDC00 || utf16[pos + 1] > 0xDFFF) {
        return std::nullopt;
      }
      const std::uint32_t high = std::uint32_t{unit} - 0xD800U;
      const std::uint32_t low = std::uint32_t{utf16[pos + 1]} - 0xDC00U;
      codePoints.push_back(static_cast<char32_t>(0x10000U + (high << 10U) + low));
      ++pos;
    } else {
      codePoints.push_back(unit);
    }
  }
  return codePoints;
}

// The number of characters of a GBK text by the lead-byte rule, or no result
// when it ends in a lead byte without its second byte.
std::optional<std::size_t> GbkCharacterCount(std::string_view gbk) noexcept {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (pos < gbk.size()) {
    const std::size_t length = text::CharLength(gbk, pos);
    if (length == 1 && text::IsLeadByte(static_cast<unsigned char>(gbk[pos]))) {
      return std::nullopt;
    }
    pos += length;
    ++count;
  }
  return count;
}

void CheckFromUtf8(std::string_view utf8) {
  const std::optional<std::string> gbk = text::Utf8ToGbk(utf8);
  if (!gbk) {
    return;
  }
  const std::optional<std::u32string> codePoints = DecodeUtf8(utf8);
  Require(codePoints.has_value(), "only valid UTF-8 converts to GBK");
  Require(GbkCharacterCount(*gbk) == codePoints->size(), "one GBK character per code point, none cut in half");
  Require(text::GbkToUtf8(*gbk) == std::optional<std::string>(utf8), "UTF-8 -> GBK -> UTF-8 is unchanged");
}

void CheckFromGbk(std::string_view gbk) {
  const std::optional<std::string> utf8 = text::GbkToUtf8(gbk);
  const std::optional<std::u16string> utf16 = text::GbkToUtf16(gbk);
  Require(utf8.has_value() == utf16.has_value(), "GBK converts to UTF-8 exactly when it converts to UTF-16");
  if (!utf8) {
    return;
  }
  const std::optional<std::u32string> fromUtf8 = DecodeUtf8(*utf8);
  Require(fromUtf8.has_value(), "GBK converts to valid UTF-8");
  Require(fromUtf8 == DecodeUtf16(*utf16), "the UTF-8 and UTF-16 forms hold the same characters");
  Require(GbkCharacterCount(gbk) == fromUtf8->size(), "one code point per GBK character");
  Require(text::Utf8ToGbk(*utf8) == std::optional<std::string>(gbk), "GBK -> UTF-8 -> GBK is unchanged");
  Require(text::Utf16ToGbk(*utf16) == std::optional<std::string>(gbk), "GBK -> UTF-16 -> GBK is unchanged");
}

void CheckFromUtf16(std::string_view bytes) {
  std::u16string utf16(bytes.size() / sizeof(char16_t), u'\0');
  std::memcpy(utf16.data(), bytes.data(), utf16.size() * sizeof(char16_t));
  const std::optional<std::string> gbk = text::Utf16ToGbk(utf16);
  if (!gbk) {
    return;
  }
  const std::optional<std::u32string> codePoints = DecodeUtf16(utf16);
  Require(codePoints.has_value(), "only valid UTF-16 converts to GBK");
  Require(GbkCharacterCount(*gbk) == codePoints->size(), "one GBK character per code point, none cut in half");
  Require(text::GbkToUtf16(*gbk) == std::optional<std::u16string>(utf16), "UTF-16 -> GBK -> UTF-16 is unchanged");
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = tesmirol::fuzz::AsText(data, size);
  tesmirol::fuzz::CheckFromUtf8(bytes);
  tesmirol::fuzz::CheckFromGbk(bytes);
  tesmirol::fuzz::CheckFromUtf16(bytes);
  return 0;
}
