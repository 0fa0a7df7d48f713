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

TEST(GbkToWindowText, RefusesInvalidGbk) { EXPECT_FALSE(WideFromGbk("\x81").has_value()); }

}  // namespace
}  // namespace tesmirol
