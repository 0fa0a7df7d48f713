#include "ui/label_text_format.h"

#include <gtest/gtest.h>

#include <ostream>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct FormatCase {
  const char* name;
  DWORD style;
  UINT format;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class LabelTextFormatting : public testing::TestWithParam<FormatCase> {};

TEST_P(LabelTextFormatting, FollowsTheStaticStyle) { EXPECT_EQ(LabelTextFormat(GetParam().style), GetParam().format); }

INSTANTIATE_TEST_SUITE_P(
    Styles, LabelTextFormatting,
    testing::Values(FormatCase{"LeftWraps", SS_LEFT, DT_LEFT | DT_WORDBREAK},
                    FormatCase{"Centred", SS_CENTER, DT_CENTER | DT_WORDBREAK},
                    FormatCase{"RightAligned", SS_RIGHT, DT_RIGHT | DT_WORDBREAK},
                    // The dialog's result labels: one vertically centred line.
                    FormatCase{"DialogLabel", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE,
                               DT_LEFT | DT_VCENTER | DT_SINGLELINE},
                    FormatCase{"CentredImageCentred", SS_CENTER | SS_CENTERIMAGE,
                               DT_CENTER | DT_VCENTER | DT_SINGLELINE},
                    FormatCase{"NoPrefixShowsAmpersand", SS_NOPREFIX, DT_NOPREFIX | DT_WORDBREAK},
                    FormatCase{"EndEllipsis", SS_ENDELLIPSIS, DT_WORD_ELLIPSIS | DT_END_ELLIPSIS},
                    FormatCase{"PathEllipsis", SS_PATHELLIPSIS, DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS},
                    // SS_WORDELLIPSIS holds both bits, so it collects all three flags.
                    FormatCase{"WordEllipsis", SS_WORDELLIPSIS, DT_WORD_ELLIPSIS | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS},
                    FormatCase{"LeftNoWordWrap", SS_LEFTNOWORDWRAP, DT_LEFT},
                    // SS_SIMPLE (0xB) carries the centre and right bits as well.
                    FormatCase{"Simple", SS_SIMPLE, DT_CENTER | DT_RIGHT},
                    FormatCase{"OnlyTypeBitFourStopsWrap", 0x4, DT_LEFT},
                    FormatCase{"OtherBitsIgnored", WS_BORDER | SS_NOTIFY | SS_SUNKEN, DT_LEFT | DT_WORDBREAK}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
