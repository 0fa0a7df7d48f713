#include "ui/wide_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct ToGbkCase {
  const char* name;
  const wchar_t* wide;
  const char* gbk;
};

void PrintTo(const ToGbkCase& c, std::ostream* os) { *os << c.name; }

class WindowTextToGbk : public testing::TestWithParam<ToGbkCase> {};

TEST_P(WindowTextToGbk, ConvertsLikeCodePage936) { EXPECT_EQ(GbkFromWide(GetParam().wide), GetParam().gbk); }

INSTANTIATE_TEST_SUITE_P(Texts, WindowTextToGbk,
                         testing::Values(ToGbkCase{"Ascii", L"11.0592MHz", "11.0592MHz"}, ToGbkCase{"Empty", L"", ""},
                                         ToGbkCase{"Chinese", L"12\u5146\u8d6b", "12\xD5\xD7\xBA\xD5"},
                                         // A character GBK cannot hold becomes one '?', also when
                                         // it takes a surrogate pair, and the rest is kept.
                                         ToGbkCase{"EmojiBecomesQuestionMark", L"12MHz\U0001F600", "12MHz?"},
                                         ToGbkCase{"UnpairedSurrogate", L"9600\xD800x", "9600?x"},
                                         ToGbkCase{"HangulBecomesQuestionMark",
                                                   L"\uD55C"
                                                   L"12",
                                                   "?12"}),
                         testing_support::CaseName());

TEST(GbkToWindowText, ConvertsValidGbk) {
  EXPECT_EQ(WideFromGbk("\xC6\xAB\xB2\xEE"), std::optional<std::wstring>(L"\u504f\u5dee"));
}

// Byte 0xFF is what the user's U+F8F5 becomes; generated code that holds it
// shows the user's character again, and an unfinished double-byte character
// does not take its neighbours with it.
TEST(GbkToWindowText, GivesTheUsersOwnCharactersBack) {
  EXPECT_EQ(WideFromGbk(GbkFromWide(L"11.0592MHZ\uF8F5")), std::optional<std::wstring>(L"11.0592MHZ\uF8F5"));
  const std::optional<std::wstring> unfinished = WideFromGbk("12MHZ\x81");
  ASSERT_TRUE(unfinished.has_value());
  EXPECT_EQ(unfinished->substr(0, 5), L"12MHZ");
}

}  // namespace
}  // namespace tesmirol
