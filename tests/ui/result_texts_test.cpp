#include "ui/result_texts.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "engine/baud_calculation.h"
#include "support/case_name.h"
#include "ui/label_colors.h"

namespace tesmirol {

// Shows a label's colour and text when a comparison fails.
// NOLINTNEXTLINE(misc-use-internal-linkage): GoogleTest finds it beside the type, by argument-dependent lookup
void PrintTo(const LabelContent& content, std::ostream* os) {
  *os << "colour 0x" << std::hex << content.color << std::dec << ", text " << testing::PrintToString(content.text);
}

namespace {

struct ResultCase {
  const char* name;
  const char* crystal;
  const char* baud;
  LabelContent reload0;
  LabelContent deviation0;
  LabelContent reload1;
  LabelContent deviation1;
};

void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class ResultLabels : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultLabels, ShowTheCalculation) {
  const ResultCase& c = GetParam();
  const std::optional<BaudCalculation> calculation = CalculateBaud(c.crystal, c.baud);
  ASSERT_TRUE(calculation.has_value());
  const ResultTexts texts = DescribeResults(*calculation);
  EXPECT_EQ(texts.reload[0], c.reload0);
  EXPECT_EQ(texts.deviation[0], c.deviation0);
  EXPECT_EQ(texts.reload[1], c.reload1);
  EXPECT_EQ(texts.deviation[1], c.deviation1);
}

// Laid out by hand so that every case reads as one row of the table.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Inputs, ResultLabels,
    testing::Values(
        ResultCase{"Defaults", "11.0592MHz", "9600", {kLabelBlue, L"TH = 0xFD"}, {kLabelBlue, L"偏差：0.00%"},
                   {kLabelBlue, L"TH = 0xFA"}, {kLabelBlue, L"偏差：0.00%"}},
        ResultCase{"TwelveMegahertzOutOfTolerance", "12MHz", "9600", {kLabelBlue, L"TH = 0xFC"},
                   {kLabelRed, L"偏差：-18.63%"}, {kLabelBlue, L"TH = 0xF9"}, {kLabelRed, L"偏差：-7.00%"}},
        ResultCase{"ExactlyOnePercentIsBlue", "12MHz", "300", {kLabelBlue, L"TH = 0x97"}, {kLabelBlue, L"偏差：-1.00%"},
                   {kLabelBlue, L"TH = 0x2F"}, {kLabelBlue, L"偏差：-0.33%"}},
        ResultCase{"RateTooLow", "11.0592MHz", "110", {kLabelRed, L"波特率太低"}, {kLabelBlue, L"偏差：0.00%"},
                   {kLabelRed, L"波特率太低"}, {kLabelBlue, L"偏差：0.00%"}},
        ResultCase{"RateTooHigh", "-11.0592MHz", "9600", {kLabelRed, L"波特率太高"}, {kLabelBlue, L"偏差：0.00%"},
                   {kLabelRed, L"波特率太高"}, {kLabelBlue, L"偏差：0.00%"}},
        ResultCase{"NegativeReloadInRange", "6MHz", "110", {kLabelBlue, L"TH = 0x71"}, {kLabelBlue, L"偏差：-0.91%"},
                   {kLabelBlue, L"TH = 0xFFFFFFE4"}, {kLabelBlue, L"偏差：0.00%"}},
        ResultCase{"TinyNegativeDeviationKeepsSign", "1880MHz", "57600", {kLabelBlue, L"TH = 0xAB"},
                   {kLabelBlue, L"偏差：-0.00%"}, {kLabelBlue, L"TH = 0x56"}, {kLabelBlue, L"偏差：-0.00%"}},
        ResultCase{"NegativeRateZeroDeviationHasNoSign", "11.0592MHz", "-9600", {kLabelRed, L"波特率太低"},
                   {kLabelBlue, L"偏差：0.00%"}, {kLabelRed, L"波特率太低"}, {kLabelBlue, L"偏差：0.00%"}}),
    testing_support::CaseName());
// clang-format on

TEST(ResultLabels, CrystalAndRangeTexts) {
  const std::optional<BaudCalculation> calculation = CalculateBaud("11.0592MHz", "9600");
  ASSERT_TRUE(calculation.has_value());
  const ResultTexts texts = DescribeResults(*calculation);
  EXPECT_EQ(texts.selectedCrystal, L"选用晶震：11059200 Hz");
  EXPECT_EQ(texts.range, L"最低：112bps  最高：57600bps");
}

TEST(ResultLabels, NegativeCrystalTexts) {
  const std::optional<BaudCalculation> calculation = CalculateBaud("-11.0592MHz", "9600");
  ASSERT_TRUE(calculation.has_value());
  const ResultTexts texts = DescribeResults(*calculation);
  EXPECT_EQ(texts.selectedCrystal, L"选用晶震：-11059200 Hz");
  EXPECT_EQ(texts.range, L"最低：-112bps  最高：-57600bps");
}

}  // namespace
}  // namespace tesmirol
