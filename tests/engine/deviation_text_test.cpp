#include "engine/deviation_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct DeviationCase {
  const char* name;
  double value;
  const char* text;
};

class DeviationText : public testing::TestWithParam<DeviationCase> {};

TEST_P(DeviationText, RoundsOnDecimalDigits) { EXPECT_EQ(FormatDeviation(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Values, DeviationText,
    testing::Values(DeviationCase{"Zero", 0.0, "0.00"}, DeviationCase{"NegativeZeroHasNoSign", -0.0, "0.00"},
                    DeviationCase{"ExactTieRoundsAwayFromZero", -18.625, "-18.63"},
                    DeviationCase{"EighthRoundsUp", -0.125, "-0.13"},
                    // The double nearest to -10.715 is -10.7149999999999998579...: its 17
                    // significant digits are -10.715000000000000, which rounds up.
                    DeviationCase{"SeventeenDigitsDecide", -10.715, "-10.72"},
                    DeviationCase{"TinyNegativeKeepsItsSign", -0.00347, "-0.00"},
                    DeviationCase{"TinyPositive", 0.00347, "0.00"}, DeviationCase{"FullRange", -100.0, "-100.00"},
                    DeviationCase{"Third", -1.0 / 3.0, "-0.33"}, DeviationCase{"TwoThirds", 2.0 / 3.0, "0.67"},
                    DeviationCase{"CarryIntoNewDigit", 99.995, "100.00"}, DeviationCase{"CarryToOne", -0.995, "-1.00"},
                    DeviationCase{"JustBelowHalfCent", 0.0049999999999999, "0.00"},
                    // 0.004999999999999999 is 0.0049999999999999992|3...: the 18th digit
                    // rounds nothing up and the third decimal stays below 5.
                    DeviationCase{"SeventeenNinesDoNotCarry", 0.004999999999999999, "0.00"},
                    // 1.0049999999999999 is stored as 1.00499999999999989... and its
                    // 17 digits are 1.0049999999999999: no carry to 1.005.
                    DeviationCase{"NoCarryIntoThirdDecimal", 1.0049999999999999, "1.00"},
                    // 2.675 is stored as 2.674999999999999822...: its 18th digit (2) leaves
                    // the 17 digits at 2.6749999999999998, so it shows 2.67.
                    DeviationCase{"EighteenthDigitTooSmallToCarry", 2.675, "2.67"},
                    DeviationCase{"Large", 123456789.125, "123456789.13"},
                    DeviationCase{"Huge", 1e20, "100000000000000000000.00"},
                    DeviationCase{"Smallest", std::numeric_limits<double>::denorm_min(), "0.00"},
                    DeviationCase{"SmallestNegative", -std::numeric_limits<double>::denorm_min(), "-0.00"}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
