#include "engine/receiver_sampling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "support/case_name.h"

namespace tesmirol {
namespace {

// ---------------------------------------------------------------------------
// The application note's convention: 16x, a vote of three, half a bit less
// two ticks over the whole frame.

struct NoteCase {
  const char* name;
  std::uint32_t frameBits;
  Fraction expected;
  double expectedPercent;
};

void PrintTo(const NoteCase& c, std::ostream* os) { *os << c.name; }

class NoteFigures : public testing::TestWithParam<NoteCase> {};

TEST_P(NoteFigures, ReproduceTheNote) {
  const NoteCase& c = GetParam();
  const Fraction tolerance = ApplicationNoteTolerance(k8051Sampling, c.frameBits);
  EXPECT_EQ(tolerance.numerator, c.expected.numerator);
  EXPECT_EQ(tolerance.denominator, c.expected.denominator);
  EXPECT_NEAR(FractionValue(tolerance) * 100.0, c.expectedPercent, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Note, NoteFigures,
                         testing::Values(NoteCase{"TenBitFrame", 10, Fraction{3, 80}, 3.75},
                                         NoteCase{"ElevenBitFrame", 11, Fraction{3, 88}, 3.41}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// The exact limits: fast = N e / (b N + m + 1) - 1 at the binding bit,
// slow = m / ((n - 1) N + m).

struct LimitCase {
  const char* name;
  SamplingScheme scheme;
  const char* frame;
  Fraction fast;
  Fraction slow;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class ExactLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(ExactLimits, FollowTheSamplingScheme) {
  const LimitCase& c = GetParam();
  const auto frame = ReadSerialFrame(c.frame);
  ASSERT_TRUE(frame.has_value());
  const ReceiverLimits limits = ExactReceiverLimits(c.scheme, *frame);
  EXPECT_EQ(limits.fast.numerator, c.fast.numerator);
  EXPECT_EQ(limits.fast.denominator, c.fast.denominator);
  EXPECT_EQ(limits.slow.numerator, c.slow.numerator);
  EXPECT_EQ(limits.slow.denominator, c.slow.denominator);
  // Always wider than the note's convention for the same frame.
  const Fraction note = ApplicationNoteTolerance(c.scheme, FrameBits(*frame));
  EXPECT_TRUE(IsLess(note, SymmetricTolerance(limits)));
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, ExactLimits,
    testing::Values(
        // Stop bit decided at 9.5 bit times: 160 / 153 - 1 and 8 / 152.
        LimitCase{"The8051With8N1", k8051Sampling, "8N1", Fraction{7, 153}, Fraction{1, 19}},
        LimitCase{"The8051With8E1", k8051Sampling, "8E1", Fraction{7, 169}, Fraction{1, 21}},
        LimitCase{"The8051With9N1", k8051Sampling, "9N1", Fraction{7, 169}, Fraction{1, 21}},
        // The second stop bit gives the first room: the last data bit binds.
        LimitCase{"The8051With8N2", k8051Sampling, "8N2", Fraction{7, 137}, Fraction{1, 19}},
        LimitCase{"TenTimesSampling", SamplingScheme{10, 5, 3}, "8N1", Fraction{1, 24}, Fraction{1, 19}},
        LimitCase{"OneSampleAtTick8", SamplingScheme{16, 8, 1}, "8N1", Fraction{7, 153}, Fraction{1, 19}}),
    testing_support::CaseName());

// Edges and samples shifted by up to d bits from the average rate's grid (a
// fractional divider that adds whole clocks): fast = N e / (b N + m + 1 +
// N d) - 1, slow = (m - N d) / ((n - 1) N + m - N d), never below 0; a
// stated limit loses d / (n - 2).

struct ShiftCase {
  const char* name;
  ReceiverModel receiver;
  const char* frame;
  Fraction shift;
  Fraction fast;
  Fraction slow;
};

void PrintTo(const ShiftCase& c, std::ostream* os) { *os << c.name; }

class ShiftedLimits : public testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftedLimits, ShrinkByTheShift) {
  const ShiftCase& c = GetParam();
  const auto frame = ReadSerialFrame(c.frame);
  ASSERT_TRUE(frame.has_value());
  const ReceiverLimits limits = LimitsOf(c.receiver, *frame, c.shift);
  EXPECT_TRUE(IsEqual(limits.fast, c.fast)) << limits.fast.numerator << "/" << limits.fast.denominator;
  EXPECT_TRUE(IsEqual(limits.slow, c.slow)) << limits.slow.numerator << "/" << limits.slow.denominator;
}

constexpr ReceiverModel kSampled{ReceiverModelKind::Sampling, k8051Sampling, {}};

// d = 4/73: one clock of the ADuC's divider at T3FD = 9 (a bit of 73/4 clocks).
INSTANTIATE_TEST_SUITE_P(
    Shifts, ShiftedLimits,
    testing::Values(
        ShiftCase{"AducStepOf8N1", kSampled, "8N1", Fraction{4, 73}, Fraction{447, 11233}, Fraction{65, 1379}},
        ShiftCase{"AducStepOf8N2", kSampled, "8N2", Fraction{4, 73}, Fraction{149, 3355}, Fraction{65, 1379}},
        ShiftCase{"AducStepOf8E1", kSampled, "8E1", Fraction{4, 73}, Fraction{447, 12401}, Fraction{13, 305}},
        ShiftCase{"NoShiftKeepsTheLimits", kSampled, "8N1", Fraction{0, 1}, Fraction{7, 153}, Fraction{1, 19}},
        ShiftCase{"AWholeBitLeavesNothing", kSampled, "8N1", Fraction{1, 1}, Fraction{0, 1}, Fraction{0, 1}},
        ShiftCase{"StatedTwoPercent", ReceiverModel{ReceiverModelKind::StatedLimit, k8051Sampling, {1, 50}}, "8N1",
                  Fraction{4, 73}, Fraction{24, 1825}, Fraction{24, 1825}}),
    testing_support::CaseName());

TEST(ReceiverModels, StatedLimitIsTheSameBothWays) {
  const ReceiverModel stated{ReceiverModelKind::StatedLimit, k8051Sampling, Fraction{1, 50}};
  const ReceiverLimits limits = LimitsOf(stated, SerialFrame{});
  EXPECT_TRUE(IsEqual(limits.fast, Fraction{2, 100}));
  EXPECT_TRUE(IsEqual(limits.slow, Fraction{2, 100}));
}

}  // namespace
}  // namespace tesmirol
