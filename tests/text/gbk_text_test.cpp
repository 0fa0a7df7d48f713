// GBK byte-string rules. The texts are written as GBK bytes with the
// characters in a comment; several Chinese characters here are chosen because
// their second byte equals an ASCII character:
//   盡 B1 4D ('M')   盞 B1 4B ('K')   禱 B6 5C ('\')   碼 B4 61 ('a')

#include "text/gbk_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol::text {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(GbkTextTest, CharLengthSeesLeadBytesOnly) {
  struct Case {
    const char* name;
    std::string_view text;
    std::size_t pos;
    std::size_t length;
  };
  const std::vector<Case> cases = {
      {"ascii", "ab", 0, 1},
      {"double-byte character", "\xD6\xD0", 0, 2},          // 中
      {"trail byte in the ASCII range", "\xB1\x4D", 0, 2},  // 盡
      {"lead byte at the end", "a\xD6", 1, 1},
      {"byte 0x80 stands alone", "\x80z", 0, 1},
      {"byte 0xFF stands alone", "\xFFz", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CharLength(c.text, c.pos), c.length);
  }
}

TEST(GbkTextTest, UpperCaseInPlace) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"ascii letters", "11.0592mhz", "11.0592MHZ"},
      {"ascii around a-z untouched", "`{@[AZ09", "`{@[AZ09"},
      {"full-width letters", "\xA3\xE1\xA3\xE2\xA3\xFA", "\xA3\xC1\xA3\xC2\xA3\xDA"},  // ａｂｚ -> ＡＢＺ
      {"full-width capitals stay", "\xA3\xC1", "\xA3\xC1"},                            // Ａ
      {"greek", "\xA6\xC1\xA6\xD8", "\xA6\xA1\xA6\xB8"},                               // αω -> ΑΩ
      {"cyrillic", "\xA7\xD1\xA7\xF1", "\xA7\xA1\xA7\xC1"},                            // ая -> АЯ
      {"cyrillic yo", "\xA7\xD7", "\xA7\xA7"},                                         // ё -> Ё
      {"small roman numerals", "\xA2\xA1\xA2\xAA", "\xA2\xF1\xA2\xFA"},                // ⅰⅹ -> ⅠⅩ
      {"chinese unchanged", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},                   // 中文
      {"trail byte 'a' is not a letter", "\xB4\x61z", "\xB4\x61Z"},                    // 碼z -> 碼Z
      {"trail byte 'a' after lead 0x81", "\x81\x61", "\x81\x61"},
      {"lone lead byte at the end", "12m\xD6", "12M\xD6"},
      {"invalid pair unchanged", "\x81\x7Fk", "\x81\x7FK"},
      {"single byte 0x80", "\x80k", "\x80K"},
      {"mixed", "11.0592mhz\xBE\xA7\xD5\xF1", "11.0592MHZ\xBE\xA7\xD5\xF1"},  // 晶振
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    UpperCaseInPlace(text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(GbkTextTest, FindCharSkipsTrailBytes) {
  struct Case {
    const char* name;
    std::string_view text;
    char ch;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"plain", "11.0592MHZ", 'M', 7},
      {"trail M is no M", "12\xB1\x4D", 'M', kNone},             // 12盡
      {"trail K is no K", "12\xB1\x4B", 'K', kNone},             // 12盞
      {"real M after trail M", "\xB1\x4DM", 'M', 2},             // 盡M
      {"trail backslash", "\xB6\x5C\\", '\\', 2},                // 禱 then a backslash
      {"pairs counted from the start", "\xB1\xB1\x4D", 'M', 2},  // B1 B1 is one character, M then stands alone
      {"not found", "12", 'M', kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindChar(c.text, c.ch), c.expected);
  }
}

TEST(GbkTextTest, FindTextStartsOnCharacterBoundaries) {
  struct Case {
    const char* name;
    std::string_view text;
    std::string_view pattern;
    std::size_t from;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"placeholder", "x <BPS> y", "<BPS>", 0, 2},
      {"placeholder after chinese", "\xB1\x4D<BPS>", "<BPS>", 0, 2},  // 盡<BPS>
      {"no match from a trail byte", "\xB1\x4D<BPS>", "M<BPS>", 0, kNone},
      {"later boundary match", "\xB1\x4DHZ MHZ", "MHZ", 0, 5},  // 盡HZ MHZ
      {"trail backslash", "\xB6\x5Cn\\n", "\\n", 0, 3},         // 禱n\n
      {"from skips earlier match", "<BPS><BPS>", "<BPS>", 1, 5},
      {"from on a trail byte", "\xB1\x4DMM", "M", 1, 2},  // 盡MM
      {"from at the end", "ab", "b", 2, kNone},
      {"from beyond the end", "ab", "b", 9, kNone},
      {"empty pattern", "ab", "", 0, kNone},
      {"lone lead pattern inside a character", "\xD6\xD0", "\xD6", 0, kNone},  // 中
      {"lone lead pattern at the end", "a\xD6", "\xD6", 0, 1},
      {"double-byte pattern", "a\xD6\xD0\xCE\xC4", "\xCE\xC4", 0, 3},  // a中文, 文
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindText(c.text, c.pattern, c.from), c.expected);
  }
}

TEST(GbkTextTest, ReplaceAll) {
  struct Case {
    const char* name;
    std::string_view text;
    std::string_view pattern;
    std::string_view replacement;
    std::string_view expected;
  };
  const std::vector<Case> cases = {
      {"every occurrence", "<TH1>;<TH1>;", "<TH1>", "0xFD", "0xFD;0xFD;"},
      {"inserted text not rescanned", "<BPS>", "<BPS>", "<BPS><BPS>", "<BPS><BPS>"},
      {"replacement forming a new match", "a<BPS>PS>", "<BPS>", "<B", "a<BPS>"},
      {"non-overlapping", "aaa", "aa", "b", "ba"},
      {"no match from a trail byte", "\xB1\x4D<BPS>", "M<BPS>", "x", "\xB1\x4D<BPS>"},
      {"match next to chinese", "\xB1\x4D<BPS>\xD6\xD0", "<BPS>", "x", "\xB1\x4Dx\xD6\xD0"},      // 盡<BPS>中
      {"chinese replacement", "<CYSTRAL>", "<CYSTRAL>", "\xBE\xA7\xD5\xF1", "\xBE\xA7\xD5\xF1"},  // 晶振
      {"empty replacement", "a<TL1>b", "<TL1>", "", "ab"},
      {"empty pattern", "abc", "", "x", "abc"},
      {"empty text", "", "<BPS>", "x", ""},
      {"lone lead byte kept", "<BPS>\xD6", "<BPS>", "1", "1\xD6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected);
  }
}

}  // namespace
}  // namespace tesmirol::text
