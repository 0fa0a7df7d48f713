// Conversions to and from GBK through the generated character table. They
// accept and refuse the same texts as the iconv conversions: GBK has only
// characters of the Basic Multilingual Plane, single bytes are ASCII plus
// 0x80 for the euro sign, and a malformed UTF-8 or UTF-16 text (overlong
// forms, surrogates out of pairs, a truncated character) gives no result.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk_table.h"
#include "text/gbk_table_codec.h"

namespace tesmirol::text::table {
namespace {

constexpr char32_t kEuroSign = 0x20AC;
constexpr unsigned char kEuroByte = 0x80;
constexpr char32_t kLastBmp = 0xFFFF;

using CodePoints = std::vector<char32_t>;

// The GBK bytes of every BMP code point (high byte first; a value below 0x100
// is a single byte), 0 where GBK has no such character; made once from the
// table of the reading direction, on the heap rather than as a static array,
// which would take its size again in the WebAssembly module's data.
const std::vector<std::uint16_t>& ReverseTable() {
  static const auto table = [] {
    std::vector<std::uint16_t> reverse(kLastBmp + 1);
    const std::span<const std::uint16_t> forward = GbkDoubleByteTable();
    for (std::size_t index = forward.size(); index-- > 0;) {
      if (forward[index] != 0) {
        const auto lead = static_cast<unsigned>(index / kGbkTrailCount + kGbkFirstLead);
        const auto trail = static_cast<unsigned>(index % kGbkTrailCount + kGbkFirstTrail);
        reverse.at(forward[index]) = static_cast<std::uint16_t>(lead << 8U | trail);
      }
    }
    for (char32_t ascii = 0; ascii < 0x80; ++ascii) {
      reverse.at(ascii) = static_cast<std::uint16_t>(ascii);
    }
    reverse.at(kEuroSign) = kEuroByte;
    return reverse;
  }();
  return table;
}

// The code point of the double-byte character lead, trail, or 0.
char32_t DoubleByteCharacter(unsigned lead, unsigned trail) noexcept {
  if (trail < kGbkFirstTrail || trail > kGbkLastTrail) {
    return 0;
  }
  return GbkDoubleByteTable()[(lead - kGbkFirstLead) * kGbkTrailCount + (trail - kGbkFirstTrail)];
}

std::optional<CodePoints> DecodeGbk(std::string_view gbk) {
  CodePoints codes;
  codes.reserve(gbk.size());
  for (std::size_t pos = 0; pos < gbk.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(gbk[pos]);
    if (byte < 0x80) {
      codes.push_back(byte);
    } else if (byte == kEuroByte) {
      codes.push_back(kEuroSign);
    } else if (byte <= kGbkLastLead && pos + 1 < gbk.size()) {
      const char32_t code = DoubleByteCharacter(byte, static_cast<unsigned char>(gbk[++pos]));
      if (code == 0) {
        return std::nullopt;
      }
      codes.push_back(code);
    } else {
      return std::nullopt;  // 0xFF, or a lead byte at the end
    }
  }
  return codes;
}

std::optional<std::string> EncodeGbk(const CodePoints& codes) {
  std::string gbk;
  gbk.reserve(codes.size() * 2);
  for (const char32_t code : codes) {
    const std::uint16_t bytes = code <= kLastBmp ? ReverseTable().at(code) : 0;
    if (bytes == 0 && code != 0) {
      return std::nullopt;
    }
    if (bytes > 0xFF) {
      gbk += static_cast<char>(bytes >> 8U);
    }
    gbk += static_cast<char>(bytes & 0xFFU);
  }
  return gbk;
}

// The number of continuation bytes after a UTF-8 lead byte and the range the
// second byte must fall in (which rules out overlong forms, surrogates and
// code points beyond U+10FFFF); no result for a byte that cannot lead.
struct Utf8Lead {
  // cppcheck-suppress unusedStructMember
  std::size_t continuations;
  // cppcheck-suppress unusedStructMember
  unsigned secondLow;
  // cppcheck-suppress unusedStructMember
  unsigned secondHigh;
  // cppcheck-suppress unusedStructMember
  char32_t bits;
};

std::optional<Utf8Lead> ReadUtf8Lead(unsigned byte) noexcept {
  if (byte >= 0xC2 && byte <= 0xDF) {
    return Utf8Lead{1, 0x80, 0xBF, byte & 0x1FU};
  }
  if (byte >= 0xE0 && byte <= 0xEF) {
    return Utf8Lead{2, byte == 0xE0 ? 0xA0U : 0x80U, byte == 0xED ? 0x9FU : 0xBFU, byte & 0x0FU};
  }
  if (byte >= 0xF0 && byte <= 0xF4) {
    return Utf8Lead{3, byte == 0xF0 ? 0x90U : 0x80U, byte == 0xF4 ? 0x8FU : 0xBFU, byte & 0x07U};
  }
  return std::nullopt;
}

std::optional<CodePoints> DecodeUtf8(std::string_view utf8) {
  CodePoints codes;
  codes.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      codes.push_back(byte);
      continue;
    }
    const std::optional<Utf8Lead> lead = ReadUtf8Lead(byte);
    if (!lead || pos + lead->continuations >= utf8.size()) {
      return std::nullopt;
    }
    char32_t code = lead->bits;
    for (std::size_t index = 1; index <= lead->continuations; ++index) {
      const unsigned next = static_cast<unsigned char>(utf8[pos + index]);
      const unsigned low = index == 1 ? lead->secondLow : 0x80U;
      const unsigned high = index == 1 ? lead->secondHigh : 0xBFU;
      if (next < low || next > high) {
        return std::nullopt;
      }
      code = code << 6U | (next & 0x3FU);
    }
    codes.push_back(code);
    pos += lead->continuations;
  }
  return codes;
}

std::string EncodeUtf8(const CodePoints& codes) {
  std::string utf8;
  utf8.reserve(codes.size() * 3);
  for (const char32_t code : codes) {
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0U | code >> 6U);
      utf8 += static_cast<char>(0x80U | (code & 0x3FU));
    } else {  // GBK holds only BMP characters
      utf8 += static_cast<char>(0xE0U | code >> 12U);
      utf8 += static_cast<char>(0x80U | (code >> 6U & 0x3FU));
      utf8 += static_cast<char>(0x80U | (code & 0x3FU));
    }
  }
  return utf8;
}

constexpr bool IsHighSurrogate(char16_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::optional<CodePoints> DecodeUtf16(std::u16string_view utf16) {
  CodePoints codes;
  codes.reserve(utf16.size());
  for (std::size_t pos = 0; pos < utf16.size(); ++pos) {
    const char16_t unit = utf16[pos];
    if (IsLowSurrogate(unit)) {
      return std::nullopt;
    }
    if (!IsHighSurrogate(unit)) {
      codes.push_back(unit);
      continue;
    }
    if (pos + 1 >= utf16.size() || !IsLowSurrogate(utf16[pos + 1])) {
      return std::nullopt;
    }
    const char32_t high = unit - 0xD800U;
    const char32_t low = utf16[pos + 1] - 0xDC00U;
    codes.push_back(0x10000U + (high << 10U | low));
    ++pos;
  }
  return codes;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  const std::optional<CodePoints> codes = DecodeUtf8(utf8);
  return codes ? EncodeGbk(*codes) : std::nullopt;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  const std::optional<CodePoints> codes = DecodeGbk(gbk);
  return codes ? std::optional<std::string>(EncodeUtf8(*codes)) : std::nullopt;
}

std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) {
  const std::optional<CodePoints> codes = DecodeUtf16(utf16);
  return codes ? EncodeGbk(*codes) : std::nullopt;
}

std::optional<std::u16string> GbkToUtf16(std::string_view gbk) {
  const std::optional<CodePoints> codes = DecodeGbk(gbk);
  if (!codes) {
    return std::nullopt;
  }
  return std::u16string(codes->begin(), codes->end());  // GBK holds only BMP characters
}

}  // namespace tesmirol::text::table
