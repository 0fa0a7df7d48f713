#include "engine/clock_tolerance.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct ToleranceCase {
  const char* name;
  const char* text;
  ToleranceStatus status;
  std::uint64_t ppb = 0;  // when Ok
};

void PrintTo(const ToleranceCase& c, std::ostream* os) { *os << c.name; }

class ToleranceTexts : public testing::TestWithParam<ToleranceCase> {};

TEST_P(ToleranceTexts, ReadExactlyInPartsPerBillion) {
  const ToleranceCase& c = GetParam();
  const ToleranceReading reading = ReadClockTolerance(c.text);
  EXPECT_EQ(ToleranceStatusName(reading.status), ToleranceStatusName(c.status));
  if (c.status == ToleranceStatus::Ok) {
    EXPECT_EQ(reading.tolerance.partsPerBillion, c.ppb);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToleranceTexts,
    testing::Values(ToleranceCase{"PartsPerMillion", "50ppm", ToleranceStatus::Ok, 50'000},
                    ToleranceCase{"UpperCaseUnitAndBlanks", " 20 PPM ", ToleranceStatus::Ok, 20'000},
                    ToleranceCase{"Percent", "1.5%", ToleranceStatus::Ok, 15'000'000},
                    ToleranceCase{"CrystalPercent", "0.01%", ToleranceStatus::Ok, 100'000},
                    ToleranceCase{"FractionOfAPpm", "0.5ppm", ToleranceStatus::Ok, 500},
                    ToleranceCase{"OnePartPerBillion", "0.0000001%", ToleranceStatus::Ok, 1},
                    ToleranceCase{"Zero", "0ppm", ToleranceStatus::Ok, 0},
                    ToleranceCase{"LeadingPoint", ".25%", ToleranceStatus::Ok, 2'500'000},
                    ToleranceCase{"JustBelowTenPercent", "9.9999999%", ToleranceStatus::Ok, 99'999'999},
                    ToleranceCase{"TenPercent", "10%", ToleranceStatus::TooLarge},
                    ToleranceCase{"HundredThousandPpm", "100000ppm", ToleranceStatus::TooLarge},
                    ToleranceCase{"HugeNumber", "123456789012345678901234%", ToleranceStatus::TooLarge},
                    ToleranceCase{"Negative", "-50ppm", ToleranceStatus::Negative},
                    ToleranceCase{"NoUnit", "50", ToleranceStatus::NoUnit},
                    ToleranceCase{"OtherUnit", "50ppb", ToleranceStatus::NoUnit},
                    ToleranceCase{"Words", "crystal", ToleranceStatus::NotANumber},
                    ToleranceCase{"TrailingText", "50ppm!", ToleranceStatus::NotANumber},
                    ToleranceCase{"TwoPoints", "1.5.0%", ToleranceStatus::NoUnit},
                    ToleranceCase{"Empty", "", ToleranceStatus::NotANumber},
                    ToleranceCase{"FinerThanAPartPerBillion", "0.0001ppm", ToleranceStatus::TooFine}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
