#include "engine/number_reading.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

namespace tesmirol {
namespace {

struct IntCase {
  const char* text;
  std::int32_t value;
};

class LeadingInt : public testing::TestWithParam<IntCase> {};

TEST_P(LeadingInt, ReadsLikeAtoiWithWrapAround) { EXPECT_EQ(ReadLeadingInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, LeadingInt,
                         testing::Values(IntCase{"9600", 9600}, IntCase{"9600abc", 9600}, IntCase{" \t\n\v\f\r42", 42},
                                         IntCase{"+7", 7}, IntCase{"-9600", -9600}, IntCase{"abc", 0}, IntCase{"", 0},
                                         IntCase{"- 5", 0}, IntCase{"--5", 0}, IntCase{"12.9", 12},
                                         IntCase{"\xA3\xB1", 0}, IntCase{"2147483647", 2147483647},
                                         IntCase{"2147483648", INT32_MIN}, IntCase{"4294967296", 0},
                                         IntCase{"4294967297", 1}, IntCase{"-2147483648", INT32_MIN},
                                         IntCase{"99999999999999999999", 1661992959}));

struct FloatCase {
  const char* text;
  std::uint32_t bits;  // bit pattern of the expected float32
};

class LeadingFloat : public testing::TestWithParam<FloatCase> {};

TEST_P(LeadingFloat, ReadsTheNearestFloat32) {
  const auto value = ReadLeadingFloat(GetParam().text);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(std::bit_cast<std::uint32_t>(*value), GetParam().bits) << *value;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingFloat,
    testing::Values(FloatCase{"11.0592MHz", 0x4130F27C},  // 11.0592 rounds to 11.05919933...
                    FloatCase{"12", 0x41400000}, FloatCase{"  -0.5", 0xBF000000}, FloatCase{"+.5", 0x3F000000},
                    FloatCase{"5.", 0x40A00000}, FloatCase{"1.5E3", 0x44BB8000}, FloatCase{"1.5e+3x", 0x44BB8000},
                    FloatCase{"25e-1", 0x40200000}, FloatCase{"1e", 0x3F800000}, FloatCase{"1E+", 0x3F800000},
                    FloatCase{"1.2.3", 0x3F99999A}, FloatCase{"-0", 0x80000000}, FloatCase{"0x10", 0x00000000},
                    // Halfway between two float32 values in binary, which a
                    // detour through double would round the wrong way.
                    FloatCase{"1.00000005960464477539062500000000001", 0x3F800001}, FloatCase{"16777217", 0x4B800000},
                    FloatCase{"16777219", 0x4B800002}, FloatCase{"1e39", 0x7F800000}, FloatCase{"-1e39", 0xFF800000},
                    FloatCase{"1e-50", 0x00000000}, FloatCase{"1e99999999999999999999", 0x7F800000},
                    FloatCase{"1.4e-45", 0x00000001}));

TEST(LeadingFloat, NoDigitNoNumber) {
  for (const char* text : {"", " ", "MHz", ".", "-.", "+", "E5", ".E5", "INF", "NAN", "inf", "nan", "\xA3\xB1"}) {
    EXPECT_FALSE(ReadLeadingFloat(text).has_value()) << text;
  }
}

TEST(LeadingFloat, IgnoresTheCLocale) {
  // A locale whose decimal separator is a comma must not change the reading.
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "German") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma on this system";
  }
  const auto value = ReadLeadingFloat("11.0592");
  static_cast<void>(std::setlocale(LC_NUMERIC, previous.c_str()));
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(std::bit_cast<std::uint32_t>(*value), 0x4130F27CU);
}

}  // namespace
}  // namespace tesmirol
