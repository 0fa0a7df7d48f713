#include "ui/label_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

#include "support/case_name.h"

namespace tesmirol {
namespace {

// A zero-filled face name from GBK bytes.
LabelFaceName Face(std::string_view gbk) {
  LabelFaceName face{};
  std::memcpy(face.data(), gbk.data(), std::min(gbk.size(), face.size()));
  return face;
}

// The face name of a font, up to its terminating zero.
std::wstring FaceOf(const LOGFONTW& font) {
  const std::wstring_view face(std::data(font.lfFaceName), std::size(font.lfFaceName));
  return std::wstring(face.substr(0, face.find(L'\0')));
}

// "宋体" in GBK.
constexpr std::string_view kSongTi = "\xCB\xCE\xCC\xE5";

TEST(LabelFont, DefaultLabelFont) {
  const LOGFONTW font = LabelLogFont(kSongTiFaceName, -12, 0, 96);
  EXPECT_EQ(font.lfHeight, 12);  // positive: the character cell
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfEscapement, 0);
  EXPECT_EQ(font.lfOrientation, 0);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_EQ(font.lfUnderline, 0);
  EXPECT_EQ(font.lfStrikeOut, 0);
  EXPECT_EQ(font.lfCharSet, 134);
  EXPECT_EQ(font.lfOutPrecision, 4);
  EXPECT_EQ(font.lfClipPrecision, 32);
  EXPECT_EQ(font.lfQuality, 2);
  EXPECT_EQ(font.lfPitchAndFamily, 18);
  EXPECT_EQ(FaceOf(font), L"\u5b8b\u4f53");
}

struct FontCase {
  const char* name;
  std::string_view face;
  std::int32_t height;
  std::int32_t bold;
  UINT dpi;
  LONG expectedHeight;
  LONG expectedWeight;
  BYTE expectedCharSet;
  const wchar_t* expectedFace;
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << c.name; }

class LabelFontParameters : public testing::TestWithParam<FontCase> {};

TEST_P(LabelFontParameters, FollowTheLabelFields) {
  const FontCase& c = GetParam();
  const LOGFONTW font = LabelLogFont(Face(c.face), c.height, c.bold, c.dpi);
  EXPECT_EQ(font.lfHeight, c.expectedHeight);
  EXPECT_EQ(font.lfWeight, c.expectedWeight);
  EXPECT_EQ(font.lfCharSet, c.expectedCharSet);
  EXPECT_EQ(FaceOf(font), c.expectedFace);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LabelFontParameters,
    testing::Values(FontCase{"AsciiFaceIsAnsi", "Arial", -12, 0, 96, 12, 400, 0, L"Arial"},
                    FontCase{"AnyNonZeroIsBold", "Arial", -12, -1, 96, 12, 700, 0, L"Arial"},
                    FontCase{"PositiveHeightKept", "Arial", 20, 0, 96, 20, 400, 0, L"Arial"},
                    FontCase{"ScaledAt150Percent", kSongTi, -12, 0, 144, 18, 400, 134, L"\u5b8b\u4f53"},
                    FontCase{"ScaledAt125Percent", kSongTi, -12, 0, 120, 15, 400, 134, L"\u5b8b\u4f53"},
                    // A lone lead byte is not GBK: the system picks the face, the
                    // character set still follows the high bit.
                    FontCase{"UnreadableFaceLeftEmpty", "\x81", -12, 0, 96, 12, 400, 134, L""},
                    FontCase{"LargestHeightHeld", "Arial", INT32_MIN, 0, 96, INT32_MAX, 400, 0, L"Arial"}),
    testing_support::CaseName());

TEST(LabelFont, FullLengthFaceNameIsCutToFit) {
  const LOGFONTW font = LabelLogFont(Face(std::string(32, 'A')), -12, 0, 96);
  EXPECT_EQ(FaceOf(font), std::wstring(LF_FACESIZE - 1, L'A'));
}

struct ScaleCase {
  const char* name;
  int pixels;
  UINT dpi;
  int expected;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class DpiScaling : public testing::TestWithParam<ScaleCase> {};

TEST_P(DpiScaling, RoundsHalfAwayFromZero) {
  EXPECT_EQ(ScaleForDpi(GetParam().pixels, GetParam().dpi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DpiScaling,
                         testing::Values(ScaleCase{"Unscaled", 5, 96, 5}, ScaleCase{"RoundsDown", 5, 120, 6},
                                         ScaleCase{"HalfRoundsUp", 5, 144, 8}, ScaleCase{"Double", 12, 192, 24},
                                         ScaleCase{"NegativeHalfRoundsDown", -5, 144, -8},
                                         ScaleCase{"ClampedToInt", INT32_MAX, 192, INT32_MAX}),
                         testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
