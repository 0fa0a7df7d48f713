#include "engine/baud_calculation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "engine/deviation_text.h"

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct ModeExpectation {
  std::int32_t reload;
  std::int32_t achieved;
  const char* deviationText;
  ModeStatus status;
};

struct CalculationCase {
  const char* name;
  const char* crystal;
  const char* baud;
  std::int32_t crystalHz;
  std::int32_t minBps;
  std::int32_t maxBps;
  ModeExpectation smod0;
  ModeExpectation smod1;
};

void PrintTo(const CalculationCase& c, std::ostream* os) { *os << c.name; }

class CalculationExamples : public testing::TestWithParam<CalculationCase> {};

void ExpectMode(const ModeResult& actual, const ModeExpectation& expected, int smod) {
  SCOPED_TRACE("SMOD = " + std::to_string(smod));
  EXPECT_EQ(actual.reload, expected.reload);
  EXPECT_EQ(actual.divisor, 256 - expected.reload);
  EXPECT_EQ(actual.achieved, expected.achieved);
  EXPECT_EQ(FormatDeviation(actual.deviation), expected.deviationText);
  EXPECT_EQ(actual.status, expected.status);
}

TEST_P(CalculationExamples, GivesTheRangeReloadsRatesAndDeviations) {
  const CalculationCase& c = GetParam();
  const auto calc = CalculateBaud(c.crystal, c.baud);
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->crystalHz, c.crystalHz);
  EXPECT_EQ(calc->minBps, c.minBps);
  EXPECT_EQ(calc->maxBps, c.maxBps);
  ExpectMode(calc->mode[0], c.smod0, 0);
  ExpectMode(calc->mode[1], c.smod1, 1);
}

constexpr auto Ok = ModeStatus::Ok;
constexpr auto TooLow = ModeStatus::TooLow;

// Laid out by hand so that every case reads as one row of the table.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Crystals, CalculationExamples,
    testing::Values(
        CalculationCase{"Standard9600", "11.0592MHz", "9600", 11059200, 112, 57600,
                        {0xFD, 9600, "0.00", Ok}, {0xFA, 9600, "0.00", Ok}},
        CalculationCase{"Standard19200", "11.0592MHz", "19200", 11059200, 112, 57600,
                        {0xFE, 14400, "-25.00", Ok}, {0xFD, 19200, "0.00", Ok}},
        CalculationCase{"BelowRangeGivesNegativeReload", "11.0592MHz", "110", 11059200, 112, 57600,
                        {-5, 110, "0.00", TooLow}, {-267, 110, "0.00", TooLow}},
        CalculationCase{"TopOfRange", "11.0592MHz", "57600", 11059200, 112, 57600,
                        {0xFF, 28800, "-50.00", Ok}, {0xFF, 57600, "0.00", Ok}},
        CalculationCase{"TwelveMegahertzRoundsAwayFromZero", "12MHz", "9600", 12000000, 122, 62500,
                        {0xFC, 7812, "-18.63", Ok}, {0xF9, 8928, "-7.00", Ok}},
        CalculationCase{"ExactlyOnePercent", "12MHz", "300", 12000000, 122, 62500,
                        {0x97, 297, "-1.00", Ok}, {0x2F, 299, "-0.33", Ok}},
        CalculationCase{"ExactEighthRoundsUp", "1.840896MHz", "4800", 1840896, 18, 9588,
                        {0xFF, 4794, "-0.13", Ok}, {0xFE, 4794, "-0.13", Ok}},
        CalculationCase{"NegativeReloadInsideRange", "6MHz", "110", 6000000, 61, 31250,
                        {0x71, 109, "-0.91", Ok}, {-28, 110, "0.00", Ok}},
        CalculationCase{"TypedRateNearestDoubleBelowTie", "24MHz", "20000", 24000000, 244, 125000,
                        {0xFC, 15625, "-21.88", Ok}, {0xF9, 17857, "-10.72", Ok}},
        CalculationCase{"FastCrystal", "22.1184MHz", "115200", 22118400, 225, 115200,
                        {0xFF, 57600, "-50.00", Ok}, {0xFF, 115200, "0.00", Ok}},
        CalculationCase{"WatchCrystalInKilohertz", "32.768KHz", "9600", 32768, 0, 170,
                        {0xFF, 85, "-99.11", Ok}, {0xFF, 170, "-98.23", Ok}},
        CalculationCase{"NoUnitMeansHertz", "11.0592", "9600", 11, 0, 0,
                        {0xFF, 0, "-100.00", Ok}, {0xFF, 0, "-100.00", Ok}},
        CalculationCase{"LowerCaseUnit", "11.0592mhz", "9600", 11059200, 112, 57600,
                        {0xFD, 9600, "0.00", Ok}, {0xFA, 9600, "0.00", Ok}},
        CalculationCase{"TextAfterBaudIgnored", "11.0592MHz", "9600abc", 11059200, 112, 57600,
                        {0xFD, 9600, "0.00", Ok}, {0xFA, 9600, "0.00", Ok}},
        CalculationCase{"NearlyExactShowsNegativeZero", "1880MHz", "57600", 1880000000, 19124, 9791666,
                        {0xFF - 84, 57598, "-0.00", Ok}, {0xFF - 169, 57598, "-0.00", Ok}},
        CalculationCase{"NegativeBaudShowsUnsignedZero", "11.0592MHz", "-9600", 11059200, 112, 57600,
                        {259, -9600, "0.00", TooLow}, {262, -9600, "0.00", TooLow}},
        CalculationCase{"LargestPresetDoublesCrystalWithoutOverflow", "1964MHz", "921600", 1964000000, 19978,
                        10229166, {0xFA, 852430, "-7.51", Ok}, {0xF4, 852430, "-7.51", Ok}}),
    testing_support::CaseName());
// clang-format on

TEST(CalculateBaud, KeepsTheTextsTheGeneratorSubstitutes) {
  const auto calc = CalculateBaud("11.0592mhz", "9600abc");
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->crystalText, "11.0592MHZ");
  EXPECT_EQ(calc->baudText, "9600abc");
  EXPECT_EQ(calc->baud, 9600);
}

TEST(CalculateBaud, ExactlyOnePercentIsWithinTolerance) {
  const auto calc = CalculateBaud("12MHz", "300");
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->mode[0].deviationAbs, 1.0);
  EXPECT_FALSE(IsOutOfTolerance(calc->mode[0]));
  const auto warning = CalculateBaud("12MHz", "9600");
  ASSERT_TRUE(warning.has_value());
  EXPECT_TRUE(IsOutOfTolerance(warning->mode[0]));
  EXPECT_TRUE(IsOutOfTolerance(warning->mode[1]));
}

TEST(CalculateBaud, NegativeCrystalGivesRatesAboveItsRange) {
  // Both texts accept a minus sign. A negative crystal has a negative range,
  // and the positive rate that a negative divisor gives lies above it.
  const auto calc = CalculateBaud("-11.0592MHz", "9600");
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->crystalHz, -11059200);
  EXPECT_EQ(calc->minBps, -112);
  EXPECT_EQ(calc->maxBps, -57600);
  EXPECT_EQ(calc->mode[0].reload, 259);
  EXPECT_EQ(calc->mode[0].divisor, -3);
  EXPECT_EQ(calc->mode[0].achieved, 9600);
  EXPECT_EQ(calc->mode[0].status, ModeStatus::TooHigh);
  EXPECT_EQ(calc->mode[1].achieved, 9600);
  EXPECT_EQ(calc->mode[1].status, ModeStatus::TooHigh);
}

struct NoResultCase {
  const char* name;
  const char* crystal;
  const char* baud;
};

class NoResult : public testing::TestWithParam<NoResultCase> {};

TEST_P(NoResult, GivesNoResult) { EXPECT_FALSE(CalculateBaud(GetParam().crystal, GetParam().baud).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    GuardedInputs, NoResult,
    testing::Values(
        NoResultCase{"EmptyCrystal", "", "9600"}, NoResultCase{"EmptyBaud", "11.0592MHz", ""},
        NoResultCase{"NoNumber", "MHz", "9600"}, NoResultCase{"OnlySpace", " ", "9600"},
        NoResultCase{"BaudWithoutDigits", "11.0592MHz", "abc"}, NoResultCase{"BaudZero", "11.0592MHz", "0"},
        NoResultCase{"BaudWrapsToZero", "11.0592MHz", "4294967296"}, NoResultCase{"ZeroCrystal", "0MHz", "9600"},
        NoResultCase{"BelowOneHertzZeroesSmod1", "0.5", "9600"}, NoResultCase{"OppositeSignsNearZero", "-1MHz", "9600"},
        NoResultCase{"CrystalAboveInt32", "2147.483648MHz", "9600"},
        NoResultCase{"CrystalFarAboveInt32", "1e30", "9600"}, NoResultCase{"CrystalOverflowsFloat", "1e39MHz", "9600"},
        NoResultCase{"CrystalUnderflowsToZero", "1e-50MHz", "9600"},
        NoResultCase{"InfinityIsNotANumber", "INF", "9600"}, NoResultCase{"HexReadsAsZero", "0x10MHz", "9600"}),
    testing_support::CaseName());

TEST(CalculateBaud, LargestInt32CrystalStillCalculates) {
  // 2147483520 is the largest float32 below 2^31: it still fits crystalHz.
  const auto calc = CalculateBaud("2147483520", "110");
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->crystalHz, 2147483520);
}

TEST(CalculateBaud, MultibyteTextDoesNotHideOrFakeTheUnit) {
  // "12兆" has no M: hertz. 0xB0 0x4D is a double-byte character whose second
  // byte is 'M'; it must not make the number megahertz.
  const auto hertz = CalculateBaud("12\xB0\x4D", "9600");
  ASSERT_TRUE(hertz.has_value());
  EXPECT_EQ(hertz->crystalHz, 12);
  const auto mega = CalculateBaud("12\xB0\x4DM", "9600");
  ASSERT_TRUE(mega.has_value());
  EXPECT_EQ(mega->crystalHz, 12000000);
  const auto kilo = CalculateBaud("12\xB0\x4B", "9600");
  ASSERT_TRUE(kilo.has_value());
  EXPECT_EQ(kilo->crystalHz, 12);
}

TEST(CalculateBaud, UnitLetterAnywhereAndMegaBeforeKilo) {
  const auto calc = CalculateBaud("12 kHz or MHz", "9600");
  ASSERT_TRUE(calc.has_value());
  EXPECT_EQ(calc->crystalHz, 12000000);
  const auto kilo = CalculateBaud("12 k", "9600");
  ASSERT_TRUE(kilo.has_value());
  EXPECT_EQ(kilo->crystalHz, 12000);
}

struct ReloadRatesCase {
  const char* name;
  const char* crystal;
  std::int32_t reload;
  std::int32_t crystalHz;
  std::int32_t smod0Rate;
  std::int32_t smod1Rate;
};

void PrintTo(const ReloadRatesCase& c, std::ostream* os) { *os << c.name; }

class ReloadRatesExamples : public testing::TestWithParam<ReloadRatesCase> {};

TEST_P(ReloadRatesExamples, GiveTheRatesOfBothSettings) {
  const ReloadRatesCase& c = GetParam();
  const auto rates = CalculateReloadRates(c.crystal, c.reload);
  ASSERT_TRUE(rates.has_value());
  EXPECT_EQ(rates->crystalHz, c.crystalHz);
  EXPECT_EQ(rates->reload, c.reload);
  EXPECT_EQ(rates->divisor, 256 - c.reload);
  EXPECT_EQ(rates->achieved[0], c.smod0Rate);
  EXPECT_EQ(rates->achieved[1], c.smod1Rate);
}

INSTANTIATE_TEST_SUITE_P(
    Reloads, ReloadRatesExamples,
    testing::Values(ReloadRatesCase{"Standard", "11.0592MHz", 0xFD, 11059200, 9600, 19200},
                    ReloadRatesCase{"FastestIsMaxBps", "11.0592MHz", 0xFF, 11059200, 28800, 57600},
                    ReloadRatesCase{"SlowestIsMinBps", "11.0592MHz", 0x00, 11059200, 112, 225},
                    ReloadRatesCase{"TruncatedLikeTheForwardCalculation", "12MHz", 0xFC, 12000000, 7812, 15625},
                    ReloadRatesCase{"LowerCaseUnit", "11.0592mhz", 0xFA, 11059200, 4800, 9600},
                    ReloadRatesCase{"ZeroCrystalHasNoDivisionToFear", "0MHz", 0xFF, 0, 0, 0},
                    ReloadRatesCase{"NegativeCrystal", "-12MHz", 0xFF, -12000000, -31250, -62500},
                    ReloadRatesCase{"LargestPreset", "1964MHz", 0xFF, 1964000000, 5114583, 10229166}),
    testing_support::CaseName());

TEST(CalculateReloadRates, KeepsTheUpperCasedCrystalText) {
  const auto rates = CalculateReloadRates("11.0592mhz", 0xFD);
  ASSERT_TRUE(rates.has_value());
  EXPECT_EQ(rates->crystalText, "11.0592MHZ");
}

TEST(CalculateReloadRates, RefusesWhatTheCalculationCannotTake) {
  for (const auto& [crystal, reload] : {std::pair{"", 0xFD}, std::pair{"MHz", 0xFD}, std::pair{"2147.483648MHz", 0xFD},
                                        std::pair{"12MHz", 256}, std::pair{"12MHz", -1}}) {
    SCOPED_TRACE(std::string(crystal) + " " + std::to_string(reload));
    EXPECT_FALSE(CalculateReloadRates(crystal, reload).has_value());
  }
}

}  // namespace
}  // namespace tesmirol
