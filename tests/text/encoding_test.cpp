// Conversions between GBK and UTF-8 / UTF-16. Both builds must give the same
// bytes: the native build goes through iconv, the Windows build through the
// Win32 code-page functions.

#include "text/encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol::text {
namespace {

// The UTF-8 bytes of a u8 literal as a plain byte string.
std::string Utf8(std::u8string_view text) { return {text.begin(), text.end()}; }

TEST(EncodingTest, RoundTripsThroughGbk) {
  struct Case {
    const char* name;
    std::u8string_view utf8;
    std::u16string_view utf16;
    std::string_view gbk;
  };
  const std::vector<Case> cases = {
      {"ascii", u8"11.0592MHz", u"11.0592MHz", "11.0592MHz"},
      {"chinese", u8"中文晶振", u"中文晶振", "\xD6\xD0\xCE\xC4\xBE\xA7\xD5\xF1"},
      {"mixed", u8"波特率太低 9600", u"波特率太低 9600", "\xB2\xA8\xCC\xD8\xC2\xCA\xCC\xAB\xB5\xCD 9600"},
      {"trail bytes in the ASCII range", u8"盡盞禱碼", u"盡盞禱碼", "\xB1\x4D\xB1\x4B\xB6\x5C\xB4\x61"},
      {"full-width and greek", u8"ａＡαΑ", u"ａＡαΑ", "\xA3\xE1\xA3\xC1\xA6\xC1\xA6\xA1"},
      {"euro sign is the single byte 0x80", u8"€", u"€", "\x80"},
      {"embedded zero byte", std::u8string_view(u8"a\0b", 3), std::u16string_view(u"a\0b", 3),
       std::string_view("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string utf8 = Utf8(c.utf8);
    EXPECT_EQ(Utf8ToGbk(utf8), std::string(c.gbk));
    EXPECT_EQ(GbkToUtf8(c.gbk), utf8);
    EXPECT_EQ(Utf16ToGbk(c.utf16), std::string(c.gbk));
    EXPECT_EQ(GbkToUtf16(c.gbk), std::u16string(c.utf16));
  }
}

TEST(EncodingTest, LongTextRoundTrips) {
  std::u16string utf16;
  std::string gbk;
  for (int i = 0; i < 5000; ++i) {
    utf16 += u"中z";
    gbk += "\xD6\xD0z";
  }
  EXPECT_EQ(Utf16ToGbk(utf16), gbk);
  EXPECT_EQ(GbkToUtf16(gbk), utf16);
  const std::optional<std::string> utf8 = GbkToUtf8(gbk);
  ASSERT_TRUE(utf8.has_value());
  EXPECT_EQ(utf8->size(), 5000U * 4U);
  EXPECT_EQ(Utf8ToGbk(*utf8), gbk);
}

TEST(EncodingTest, EmptyTextIsAResult) {
  EXPECT_EQ(Utf8ToGbk(""), std::string());
  EXPECT_EQ(GbkToUtf8(""), std::string());
  EXPECT_EQ(Utf16ToGbk(u""), std::string());
  EXPECT_EQ(GbkToUtf16(""), std::u16string());
}

TEST(EncodingTest, InvalidUtf8GivesNoResult) {
  struct Case {
    const char* name;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {"stray byte 0xFF", "ab\xFF"},
      {"lone continuation byte", "\x80"},
      {"truncated sequence", Utf8(u8"中").substr(0, 2)},
      {"overlong slash", "\xC0\xAF"},
      {"encoded surrogate", "\xED\xA0\x80"},
      {"emoji outside GBK", Utf8(u8"a\U0001F600")},
      {"latin capital outside GBK", Utf8(u8"\u00C9")},
      {"first tag character", Utf8(u8"12MHz\U000E0000")},
      {"last tag character", Utf8(u8"\U000E007F9600")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToGbk(c.utf8), std::nullopt);
  }
}

TEST(EncodingTest, InvalidUtf16GivesNoResult) {
  struct Case {
    const char* name;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"emoji outside GBK", u"a\U0001F600"},
      {"lone high surrogate", std::u16string{u'\xD800'}},
      {"lone low surrogate", std::u16string{u'a', u'\xDC00'}},
      {"character outside GBK", u"\u00C9"},
      {"tag character", u"12MHz\U000E0041"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf16ToGbk(c.utf16), std::nullopt);
  }
}

TEST(EncodingTest, InvalidGbkGivesNoResult) {
  struct Case {
    const char* name;
    std::string_view gbk;
  };
  const std::vector<Case> cases = {
      {"truncated character", "\xD6"},
      {"truncated after text", "ab\xD6\xD0\xCE"},  // ab中, then half of 文
      {"trail byte 0x7F", "\x81\x7F"},
      {"trail byte below 0x40", "\xD6\x30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GbkToUtf8(c.gbk), std::nullopt);
    EXPECT_EQ(GbkToUtf16(c.gbk), std::nullopt);
  }
}

TEST(EncodingTest, FailureLeavesNothingBehind) {
  EXPECT_EQ(GbkToUtf16("\xD6"), std::nullopt);
  EXPECT_EQ(GbkToUtf16("a"), u"a") << "the failed half character must not linger";
  EXPECT_EQ(GbkToUtf16("\xD6\xD0"), u"中");
  EXPECT_EQ(Utf8ToGbk(Utf8(u8"中").substr(0, 2)), std::nullopt);
  EXPECT_EQ(Utf8ToGbk(Utf8(u8"中")), "\xD6\xD0");
}

}  // namespace
}  // namespace tesmirol::text
