// The table codec (the WebAssembly page's GBK conversions) against iconv
// (tesmirol-cli's), character by character: the page must accept, refuse and
// map exactly the texts the command line does.

#include "text/gbk_table_codec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"
#include "text/gbk_table.h"

namespace tesmirol::text {
namespace {

// The bytes as hexadecimal, for a failure message.
std::string Hex(std::string_view bytes) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text;
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    text += kDigits[value >> 4U];
    text += kDigits[value & 0xFU];
    text += ' ';
  }
  return text;
}

// Collects the inputs on which the two conversions differ; a failure names
// the first few.
class Differences {
 public:
  template <class Result>
  void Compare(std::string_view input, const Result& table, const Result& iconv) {
    if (table == iconv) {
      return;
    }
    if (m_inputs.size() < 10) {
      m_inputs.push_back(Hex(input));
    }
    ++m_count;
  }

  void ExpectNone() const {
    std::string listed;
    for (const std::string& input : m_inputs) {
      listed += "[" + input + "] ";
    }
    EXPECT_EQ(m_count, 0U) << "the table and iconv differ on " << listed;
  }

 private:
  std::vector<std::string> m_inputs;
  std::size_t m_count = 0;
};

std::string Utf8Of(char32_t code) {
  std::string utf8;
  if (code < 0x80) {
    utf8 += static_cast<char>(code);
  } else if (code < 0x800) {
    utf8 += static_cast<char>(0xC0U | code >> 6U);
    utf8 += static_cast<char>(0x80U | (code & 0x3FU));
  } else if (code < 0x10000) {
    utf8 += static_cast<char>(0xE0U | code >> 12U);
    utf8 += static_cast<char>(0x80U | (code >> 6U & 0x3FU));
    utf8 += static_cast<char>(0x80U | (code & 0x3FU));
  } else {
    utf8 += static_cast<char>(0xF0U | code >> 18U);
    utf8 += static_cast<char>(0x80U | (code >> 12U & 0x3FU));
    utf8 += static_cast<char>(0x80U | (code >> 6U & 0x3FU));
    utf8 += static_cast<char>(0x80U | (code & 0x3FU));
  }
  return utf8;
}

std::u16string Utf16Of(char32_t code) {
  if (code < 0x10000) {
    return {static_cast<char16_t>(code)};
  }
  const char32_t offset = code - 0x10000;
  return {static_cast<char16_t>(0xD800 + (offset >> 10U)), static_cast<char16_t>(0xDC00 + (offset & 0x3FFU))};
}

TEST(GbkTableCodecTest, ReadsEveryByteAndPairAsIconvDoes) {
  Differences differences;
  std::vector<std::string> inputs;
  for (unsigned first = 0; first < 0x100; ++first) {
    inputs.emplace_back(1, static_cast<char>(first));
    for (unsigned second = first >= 0x80 ? 0 : 0x100; second < 0x100; ++second) {
      inputs.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  for (const std::string& gbk : inputs) {
    differences.Compare(gbk, table::GbkToUtf8(gbk), GbkToUtf8(gbk));
    differences.Compare(gbk, table::GbkToUtf16(gbk), GbkToUtf16(gbk));
  }
  differences.ExpectNone();
}

// The page's module keeps only the list of pairs that are no character and
// takes the others from the browser: the list must be exactly the table's
// empty pairs, or the page would read a pair the command line refuses (or
// refuse one it reads).
TEST(GbkTableCodecTest, RefusedPairsAreExactlyTheTablesEmptyOnes) {
  const std::span<const std::uint16_t> table = GbkDoubleByteTable();
  std::vector<bool> listed(table.size());
  for (const GbkIndexRun& run : GbkRefusedPairs()) {
    ASSERT_GT(run.count, 0U);
    for (std::size_t index = run.first; index < std::size_t{run.first} + run.count; ++index) {
      ASSERT_LT(index, table.size());
      listed[index] = true;
    }
  }
  for (std::size_t index = 0; index < table.size(); ++index) {
    EXPECT_EQ(listed[index], table[index] == 0) << "pair " << std::hex << index / kGbkTrailCount + kGbkFirstLead << ' '
                                                << index % kGbkTrailCount + kGbkFirstTrail;
  }
}

TEST(GbkTableCodecTest, WritesEveryCodePointAsIconvDoes) {
  Differences differences;
  for (char32_t code = 0; code <= 0x10FFFF; code += code < 0x10000 ? 1 : 0x3F) {
    const std::string utf8 = Utf8Of(code);  // surrogates too, which both must refuse
    differences.Compare(utf8, table::Utf8ToGbk(utf8), Utf8ToGbk(utf8));
    if (code < 0xD800 || code > 0xDFFF) {
      const std::u16string utf16 = Utf16Of(code);
      differences.Compare(utf8, table::Utf16ToGbk(utf16), Utf16ToGbk(utf16));
    }
  }
  differences.ExpectNone();
}

TEST(GbkTableCodecTest, RefusesMalformedTextsAsIconvDoes) {
  struct Case {
    const char* name;
    std::string_view utf8;
  };
  const std::vector<Case> cases = {
      {"overlong two bytes", "\xC0\x80"},
      {"overlong three bytes", "\xE0\x80\x80"},
      {"overlong four bytes", "\xF0\x80\x80\x80"},
      {"encoded surrogate", "\xED\xA0\x80"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
      {"no such lead byte", "\xF5\x80\x80\x80"},
      {"truncated at the end", "a\xE4\xB8"},
      {"lone continuation byte", "a\x80"},
      {"byte 0xFF", "\xFF"},
      {"tag character", "1\xF3\xA0\x81\x81"},
      {"valid among them", "12\xE6\x99\xB6MHz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(table::Utf8ToGbk(c.utf8), Utf8ToGbk(c.utf8));
  }
  const std::vector<std::u16string> utf16Cases = {u"a\xD800",
                                                  u"\xDC00"
                                                  u"a",
                                                  u"\xDC00\xD800", u"\xD83D\xDE00"};
  for (const std::u16string& utf16 : utf16Cases) {
    EXPECT_EQ(table::Utf16ToGbk(utf16), Utf16ToGbk(utf16));
  }
}

}  // namespace
}  // namespace tesmirol::text
