#include "engine/serial_frame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct FrameCase {
  const char* name;
  const char* text;
  std::optional<SerialFrame> expected;
  std::uint32_t sampledBits = 0;
  FrameUartMode mode = FrameUartMode::Mode1;
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class FrameTexts : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameTexts, ReadWhatThe8051Carries) {
  const FrameCase& c = GetParam();
  const auto frame = ReadSerialFrame(c.text);
  ASSERT_EQ(frame.has_value(), c.expected.has_value());
  if (!frame) {
    return;
  }
  EXPECT_EQ(frame->dataBits, c.expected->dataBits);
  EXPECT_EQ(frame->parity, c.expected->parity);
  EXPECT_EQ(frame->stopBits, c.expected->stopBits);
  EXPECT_EQ(SampledBits(*frame), c.sampledBits);
  EXPECT_EQ(FrameUartModeOf(*frame), c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameTexts,
    testing::Values(FrameCase{"EightNoneOneIsMode1", "8N1", SerialFrame{8, Parity::None, 1}, 10, FrameUartMode::Mode1},
                    FrameCase{"EvenParityNeedsMode3", "8E1", SerialFrame{8, Parity::Even, 1}, 11, FrameUartMode::Mode3},
                    FrameCase{"OddParityInLowerCase", "8o1", SerialFrame{8, Parity::Odd, 1}, 11, FrameUartMode::Mode3},
                    FrameCase{"MarkParity", "8M1", SerialFrame{8, Parity::Mark, 1}, 11, FrameUartMode::Mode3},
                    FrameCase{"NineDataBits", "9N1", SerialFrame{9, Parity::None, 1}, 11, FrameUartMode::Mode3},
                    // The second stop bit is TB8 = 1 when sending; a receiver samples one.
                    FrameCase{"TwoStopBits", "8N2", SerialFrame{8, Parity::None, 2}, 10, FrameUartMode::Mode3},
                    FrameCase{"SevenDataBits", "7N1", std::nullopt},
                    FrameCase{"NineWithParityIsTooLong", "9E1", std::nullopt},
                    FrameCase{"ParityAndTwoStopsIsTooLong", "8E2", std::nullopt},
                    FrameCase{"UnknownParity", "8X1", std::nullopt},
                    FrameCase{"OneAndAHalfStops", "8N1.5", std::nullopt}, FrameCase{"Empty", "", std::nullopt},
                    FrameCase{"Blank", " 8N1", std::nullopt}),
    testing_support::CaseName());

TEST(FrameNames, EveryListedNameReadsBackToItself) {
  ASSERT_FALSE(SerialFrameNames().empty());
  EXPECT_EQ(SerialFrameNames().front(), "8N1");
  for (const std::string_view name : SerialFrameNames()) {
    const auto frame = ReadSerialFrame(name);
    ASSERT_TRUE(frame.has_value()) << name;
    EXPECT_EQ(SerialFrameName(*frame), name);
  }
}

struct ParityCase {
  const char* name;
  Parity parity;
  std::uint32_t data;
  std::optional<bool> expected;
};

void PrintTo(const ParityCase& c, std::ostream* os) { *os << c.name; }

class ParityBits : public testing::TestWithParam<ParityCase> {};

TEST_P(ParityBits, MakeTheCountOfOnesRight) {
  const ParityCase& c = GetParam();
  EXPECT_EQ(ParityBit(c.parity, c.data, 8), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Parities, ParityBits,
                         testing::Values(ParityCase{"EvenOfThreeOnesIsOne", Parity::Even, 0x07, true},
                                         ParityCase{"EvenOfTwoOnesIsZero", Parity::Even, 0x81, false},
                                         ParityCase{"OddOfTwoOnesIsOne", Parity::Odd, 0x81, true},
                                         ParityCase{"OddOfNoOnesIsOne", Parity::Odd, 0x00, true},
                                         ParityCase{"BitsAboveTheDataDoNotCount", Parity::Even, 0x101, true},
                                         ParityCase{"MarkIsOne", Parity::Mark, 0x00, true},
                                         ParityCase{"SpaceIsZero", Parity::Space, 0xFF, false},
                                         ParityCase{"NoneHasNoBit", Parity::None, 0x01, std::nullopt}),
                         testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
