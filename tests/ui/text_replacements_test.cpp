#include "ui/text_replacements.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "support/case_name.h"

namespace tesmirol {

// Shows a replacement as its span and text when a comparison fails.
// NOLINTNEXTLINE(misc-use-internal-linkage): GoogleTest finds it beside the type, by argument-dependent lookup
void PrintTo(const TextReplacement& replacement, std::ostream* os) {
  *os << "[" << replacement.start << ", +" << replacement.length << ") -> " << testing::PrintToString(replacement.text);
}

namespace {

struct ReplacementCase {
  const char* name;
  std::wstring_view before;
  std::wstring_view after;
  std::vector<TextReplacement> expected;
};

void PrintTo(const ReplacementCase& c, std::ostream* os) { *os << c.name; }

// Applies the replacements in the order given, as the output box does.
std::wstring Applied(std::wstring text, const std::vector<TextReplacement>& replacements) {
  for (const TextReplacement& replacement : replacements) {
    text.replace(replacement.start, replacement.length, replacement.text);
  }
  return text;
}

class TextReplacementsTest : public testing::TestWithParam<ReplacementCase> {};

// The replacements are the expected spans, and applied one after the other
// they give the new text exactly.
TEST_P(TextReplacementsTest, ReplaceOnlyWhatDiffers) {
  const ReplacementCase& c = GetParam();
  const std::vector<TextReplacement> replacements = TextReplacements(c.before, c.after);
  EXPECT_EQ(replacements, c.expected);
  EXPECT_EQ(Applied(std::wstring(c.before), replacements), c.after);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Texts, TextReplacementsTest,
    testing::Values(
        ReplacementCase{"SameText", L"a\r\nb", L"a\r\nb", {}},
        ReplacementCase{"BothEmpty", L"", L"", {}},
        ReplacementCase{"FromNothing", L"", L"TH1 = 0xFD;\r\nTL1 = 0xFD;", {{0, 0, L"TH1 = 0xFD;\r\nTL1 = 0xFD;"}}},
        ReplacementCase{"ToNothing", L"x\r\ny", L"", {{0, 4, L""}}},
        ReplacementCase{"OneNumberInOneLine", L"// 11.0592MHZ\r\nES = 0;", L"// 12MHZ\r\nES = 0;",
                        {{4, 5, L""}}},
        // The reload and the SMOD line change, the lines between stay: two
        // spans, the later one first.
        ReplacementCase{"TwoLinesApart", L"TH1 = 0xFD;\r\n\r\nPCON &= 0x7F;", L"TH1 = 0xFA;\r\n\r\nPCON |= 0x80;",
                        {{20, 7, L"|= 0x80"}, {9, 1, L"A"}}},
        ReplacementCase{"NeighbouringLinesInOneSpan", L"TH1 = 0xFD;\r\nTL1 = 0xFD;", L"TH1 = 0xF4;\r\nTL1 = 0xF4;",
                        {{9, 14, L"4;\r\nTL1 = 0xF4"}}},
        // A line added or removed: one span between the common start and end.
        ReplacementCase{"LineAdded", L"a\r\nc", L"a\r\nb\r\nc", {{3, 0, L"b\r\n"}}},
        ReplacementCase{"WarningToCode", L"warning", L"code\r\nmore", {{0, 7, L"code\r\nmore"}}},
        // Where the two share a character at both ends of a span, the spans
        // of the start and of the end do not overlap.
        ReplacementCase{"RepeatedCharacter", L"aaa", L"aaaa", {{3, 0, L"a"}}},
        ReplacementCase{"LineEndsOnly", L"a\r\n", L"a", {{1, 2, L""}}}),
    testing_support::CaseName());
// clang-format on

}  // namespace
}  // namespace tesmirol
