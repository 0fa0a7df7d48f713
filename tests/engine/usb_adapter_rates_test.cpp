#include "engine/usb_adapter_rates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>

#include "support/case_name.h"

namespace tesmirol {
namespace {

// ---------------------------------------------------------------------------
// The rate each adapter really runs at, worked by hand from its driver's
// divisor rules.

struct RateCase {
  const char* name;
  UsbAdapter adapter;
  std::uint32_t baud;
  std::optional<Fraction> expected;  // lowest terms; none: the adapter cannot run near it
};

void PrintTo(const RateCase& c, std::ostream* os) { *os << c.name; }

class AdapterRates : public testing::TestWithParam<RateCase> {};

TEST_P(AdapterRates, FollowTheDriversDivisorRules) {
  const RateCase& c = GetParam();
  const auto rate = AdapterRate(c.adapter, c.baud);
  ASSERT_EQ(rate.has_value(), c.expected.has_value());
  if (rate) {
    EXPECT_EQ(rate->numerator, c.expected->numerator);
    EXPECT_EQ(rate->denominator, c.expected->denominator);
  }
}

INSTANTIATE_TEST_SUITE_P(Ch340, AdapterRates,
                         testing::Values(
                             // ps = 3, div = 104 with fact = 1, even: 52 with fact = 0; 48 MHz / (8 x 52).
                             RateCase{"At115200Runs115384", UsbAdapter::Ch340, 115200, Fraction{1500000, 13}},
                             // ps = 2, div 156 -> 78 with fact = 0: 48 MHz / (64 x 78).
                             RateCase{"At9600Runs9615", UsbAdapter::Ch340, 9600, Fraction{125000, 13}},
                             RateCase{"At57600Runs57692", UsbAdapter::Ch340, 57600, Fraction{750000, 13}},
                             // div 8 is below 9: the base clock halves, div 4; 48 MHz / (8 x 4).
                             RateCase{"At1500000Exactly", UsbAdapter::Ch340, 1500000, Fraction{1500000, 1}},
                             RateCase{"At3000000Exactly", UsbAdapter::Ch340, 3000000, Fraction{3000000, 1}},
                             // ps = 0, div 509 -> 254 halved, then 255 is nearer: 48 MHz / (4096 x 255).
                             RateCase{"AtItsSlowest46", UsbAdapter::Ch340, 46, Fraction{3125, 68}},
                             RateCase{"BelowItsRange", UsbAdapter::Ch340, 45, std::nullopt},
                             RateCase{"AboveItsRange", UsbAdapter::Ch340, 3000001, std::nullopt}),
                         testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Cp2102, AdapterRates,
    testing::Values(RateCase{"TableRateAsIs", UsbAdapter::Cp2102, 115200, Fraction{115200, 1}},
                    // AN205: requests 77609 .. 117028 all run at 115200.
                    RateCase{"SnapsUpToTheTableRate", UsbAdapter::Cp2102, 100000, Fraction{115200, 1}},
                    RateCase{"SnapsDownToTheTableRate", UsbAdapter::Cp2102, 9612, Fraction{9600, 1}},
                    RateCase{"OneMegabaudRuns921600", UsbAdapter::Cp2102, 1000000, Fraction{921600, 1}},
                    RateCase{"BelowItsRange", UsbAdapter::Cp2102, 299, std::nullopt},
                    RateCase{"AboveItsRange", UsbAdapter::Cp2102, 1000001, std::nullopt}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(Cp2104, AdapterRates,
                         testing::Values(
                             // div = round(48 MHz / (2 x 921600)) = 26: 48 MHz / 52.
                             RateCase{"At921600Runs923077", UsbAdapter::Cp2104, 921600, Fraction{12000000, 13}},
                             RateCase{"At230400Runs230769", UsbAdapter::Cp2104, 230400, Fraction{3000000, 13}},
                             // Prescale 4 up to 365 bps: div 20000, 48 MHz / (8 x 20000).
                             RateCase{"At300WithPrescale4", UsbAdapter::Cp2104, 300, Fraction{300, 1}},
                             RateCase{"At2000000Exactly", UsbAdapter::Cp2104, 2000000, Fraction{2000000, 1}},
                             RateCase{"AboveItsRange", UsbAdapter::Cp2104, 2000001, std::nullopt}),
                         testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(Ft232r, AdapterRates,
                         testing::Values(
                             // 3 MHz / 26 eighths: 208.33 eighths round to 208.
                             RateCase{"At115200Runs115385", UsbAdapter::Ft232r, 115200, Fraction{1500000, 13}},
                             RateCase{"At9600Exactly", UsbAdapter::Ft232r, 9600, Fraction{9600, 1}},
                             // 1.5 and 1 are the only divisors below 2.
                             RateCase{"At2000000IsDivisorOneAndAHalf", UsbAdapter::Ft232r, 2000000,
                                      Fraction{2000000, 1}},
                             RateCase{"At3000000IsDivisorOne", UsbAdapter::Ft232r, 3000000, Fraction{3000000, 1}},
                             RateCase{"At2500000NeedsADivisorItLacks", UsbAdapter::Ft232r, 2500000, std::nullopt},
                             // 131147.5 eighths exceed the field: the largest divisor, 131071 eighths.
                             RateCase{"At183TheDivisorIsClamped", UsbAdapter::Ft232r, 183, Fraction{24000000, 131071}},
                             RateCase{"BelowItsRange", UsbAdapter::Ft232r, 182, std::nullopt},
                             RateCase{"AboveItsRange", UsbAdapter::Ft232r, 3000001, std::nullopt}),
                         testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(Ft232h, AdapterRates,
                         testing::Values(
                             // 12 MHz / (833 / 8): 96 MHz / 833 = 115246.1, +0.04 %.
                             RateCase{"At115200Runs115246", UsbAdapter::Ft232h, 115200, Fraction{96000000, 833}},
                             RateCase{"At921600Runs923077", UsbAdapter::Ft232h, 921600, Fraction{12000000, 13}},
                             RateCase{"At12000000IsDivisorOne", UsbAdapter::Ft232h, 12000000, Fraction{12000000, 1}},
                             RateCase{"At10000000NeedsADivisorItLacks", UsbAdapter::Ft232h, 10000000, std::nullopt},
                             // Below 1200 the 3 MHz rule of the FT232R.
                             RateCase{"At1000OnTheLowClock", UsbAdapter::Ft232h, 1000, Fraction{1000, 1}},
                             RateCase{"AboveItsRange", UsbAdapter::Ft232h, 12000001, std::nullopt}),
                         testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Pl2303, AdapterRates,
    testing::Values(RateCase{"TableRateSentAsIs", UsbAdapter::Pl2303, 115200, Fraction{115200, 1}},
                    // 384 MHz / 3840 -> 960 x 4 -> 240 x 16: exactly 100000.
                    RateCase{"DivisorRateExact", UsbAdapter::Pl2303, 100000, Fraction{100000, 1}},
                    // 5128 -> 1282 -> 320 x 16: 75000.
                    RateCase{"DivisorRateRoundedDown", UsbAdapter::Pl2303, 74880, Fraction{75000, 1}},
                    // 3490909 shifted seven times: 213 x 4^7, 110.035 bps.
                    RateCase{"At110TheLargestExponent", UsbAdapter::Pl2303, 110, Fraction{15625, 142}},
                    RateCase{"TooSlowForTheDivisor", UsbAdapter::Pl2303, 45, std::nullopt},
                    RateCase{"AboveItsRange", UsbAdapter::Pl2303, 12000001, std::nullopt}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// Names and facts.

TEST(AdapterNames, FoundInAnyCaseAndRoundTrip) {
  for (const UsbAdapter adapter : UsbAdapters()) {
    const UsbAdapterFacts& facts = AdapterFacts(adapter);
    EXPECT_EQ(facts.adapter, adapter);
    EXPECT_EQ(FindUsbAdapter(facts.name), adapter);
    EXPECT_FALSE(facts.clockSource.empty());
    EXPECT_FALSE(facts.receiverSource.empty());
    // Every adapter runs at its own slowest and quickest request or near it.
    EXPECT_TRUE(AdapterRate(adapter, facts.minBaud).has_value()) << facts.name;
    EXPECT_TRUE(AdapterRate(adapter, facts.maxBaud).has_value()) << facts.name;
  }
  EXPECT_EQ(FindUsbAdapter("CH340"), UsbAdapter::Ch340);
  EXPECT_EQ(FindUsbAdapter("Ft232H"), UsbAdapter::Ft232h);
  EXPECT_FALSE(FindUsbAdapter("ch34").has_value());
  EXPECT_FALSE(FindUsbAdapter("ideal").has_value());
}

TEST(AdapterReceivers, Ft232hSamplesTenTimesFrom1200Up) {
  EXPECT_EQ(AdapterReceiver(UsbAdapter::Ft232h, 115200).scheme.oversampling, 10U);
  EXPECT_EQ(AdapterReceiver(UsbAdapter::Ft232h, 600).scheme.oversampling, 16U);
  EXPECT_EQ(AdapterReceiver(UsbAdapter::Ch340, 115200).kind, ReceiverModelKind::StatedLimit);
}

}  // namespace
}  // namespace tesmirol
