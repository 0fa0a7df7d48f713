#include "engine/link_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "engine/exact_crystal.h"
#include "engine/link_peer.h"

#include "support/case_name.h"

namespace tesmirol {
namespace {

// ---------------------------------------------------------------------------
// Verdicts worked out by hand (and by an exact fraction model): each
// direction, the whole link, and the largest tolerance of this end's clock.

struct VerdictCase {
  const char* name;
  Fraction ownRate;
  std::uint64_t ownPpb;
  const char* peer;
  std::int32_t baud;
  const char* frame;
  LinkVerdict ownToPeer;
  LinkVerdict peerToOwn;
  LinkVerdict overall;
  std::optional<std::uint32_t> maxOwnPpm;
};

void PrintTo(const VerdictCase& c, std::ostream* os) { *os << c.name; }

class LinkVerdicts : public testing::TestWithParam<VerdictCase> {};

TEST_P(LinkVerdicts, HoldTheWorstCornerToTheReceiversLimit) {
  const VerdictCase& c = GetParam();
  const PeerReading reading = ReadPeer(c.peer);
  ASSERT_EQ(reading.status, PeerReadStatus::Ok);
  const PeerEnd peer = ResolvePeer(reading.peer, c.baud);
  ASSERT_EQ(peer.status, PeerEndStatus::Ok);
  const auto frame = ReadSerialFrame(c.frame);
  ASSERT_TRUE(frame.has_value());
  const LinkCheck check = CheckLink(Uart8051End(c.ownRate, ClockTolerance{c.ownPpb}), peer.end, *frame);
  EXPECT_EQ(LinkVerdictName(check.ownToPeer.verdict), LinkVerdictName(c.ownToPeer));
  EXPECT_EQ(LinkVerdictName(check.peerToOwn.verdict), LinkVerdictName(c.peerToOwn));
  EXPECT_EQ(LinkVerdictName(check.verdict), LinkVerdictName(c.overall));
  EXPECT_EQ(check.maxOwnTolerancePpm, c.maxOwnPpm);
  // The display figures follow the verdicts.
  for (const LinkDirection* direction : {&check.ownToPeer, &check.peerToOwn}) {
    const MismatchSense& shown = BindingSense(*direction);
    EXPECT_EQ(shown.verdict, direction->verdict);
    EXPECT_NEAR(shown.marginPercent, shown.limitPercent - shown.worstPercent, 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(Links, LinkVerdicts,
                         testing::Values(
                             // A perfect pair: this end may drift until the 8051's own fast limit
                             // (7/153) halves: 1 - x >= 306/313, x = 22364 ppm.
                             VerdictCase{"PerfectClocksWork", Fraction{115200, 1}, 0, "ideal", 115200, "8N1",
                                         LinkVerdict::Works, LinkVerdict::Works, LinkVerdict::Works, 22364},
                             // Both at 115384.6: the CH340 takes 1.5 % of its stated 2 %; the 8051
                             // 1.01 / 0.985 - 1 = 2.54 % of 4.58 %. Half of 2 % is the most this end may drift.
                             VerdictCase{"Stc8OnRcWithCh340", Fraction{1500000, 13}, 15'000'000, "ch340", 115200, "8N1",
                                         LinkVerdict::Marginal, LinkVerdict::Marginal, LinkVerdict::Marginal, 10000},
                             // 12 MHz, TH1 = 253, SMOD = 0: 10416.7 for 9600, 8.5 % fast.
                             VerdictCase{"TwelveMegahertzAt9600Fails", Fraction{1000000, 96}, 0, "ideal", 9600, "8N1",
                                         LinkVerdict::Fails, LinkVerdict::Fails, LinkVerdict::Fails, std::nullopt},
                             // Two crystals of 100 ppm at exactly 9600.
                             VerdictCase{"TwoCrystalsWork", Fraction{9600, 1}, 100'000, "stc15@22.1184MHz", 9600, "8N1",
                                         LinkVerdict::Works, LinkVerdict::Works, LinkVerdict::Works, 22266},
                             // A longer frame narrows the 8051's limits (7/169 fast): 2.2 % of 4.14 % is past half.
                             VerdictCase{"ParityNarrowsTheLimit", Fraction{115200, 1}, 22'000'000, "ideal", 115200,
                                         "8E1", LinkVerdict::Marginal, LinkVerdict::Marginal, LinkVerdict::Marginal,
                                         20289},
                             // The CP2102 snaps 100000 to 115200: 15 % apart.
                             VerdictCase{"Cp2102SnapsAway", Fraction{100000, 1}, 0, "cp2102", 100000, "8N1",
                                         LinkVerdict::Fails, LinkVerdict::Fails, LinkVerdict::Fails, std::nullopt}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// A generator that reaches its rate only on average: the ADuC's Timer 3 at
// 16.777216 MHz for 115200 bps (DIV = 3, T3FD = 9, 8388608/73 bps on
// average, each edge up to 4/73 of a bit off). Against an ideal peer the
// 8051's receiving binds: 115200 / rate / (1 - t) <= 1 + limit / 2, with the
// fast limit 447/11233 when the shift counts and 7/153 when it did not, so
// this end's clock may stray 17054 ppm, not 19917; at 1.8 % the link that
// the average alone would pass is only marginal.

struct ShiftedLinkCase {
  const char* name;
  Fraction edgeShift;
  std::uint64_t ownPpb;
  LinkVerdict overall;
  std::uint32_t maxOwnPpm;
};

void PrintTo(const ShiftedLinkCase& c, std::ostream* os) { *os << c.name; }

class ShiftedLinks : public testing::TestWithParam<ShiftedLinkCase> {};

TEST_P(ShiftedLinks, CountTheWorstBitNotTheAverage) {
  const ShiftedLinkCase& c = GetParam();
  const PeerEnd peer = ResolvePeer(ReadPeer("ideal").peer, 115200);
  ASSERT_EQ(peer.status, PeerEndStatus::Ok);
  const LinkCheck check =
      CheckLink(Uart8051End(Fraction{8388608, 73}, ClockTolerance{c.ownPpb}, c.edgeShift), peer.end, SerialFrame{});
  EXPECT_EQ(LinkVerdictName(check.verdict), LinkVerdictName(c.overall));
  EXPECT_EQ(check.maxOwnTolerancePpm, c.maxOwnPpm);
}

INSTANTIATE_TEST_SUITE_P(
    AducTimer3, ShiftedLinks,
    testing::Values(ShiftedLinkCase{"ShiftCounted", Fraction{4, 73}, 18'000'000, LinkVerdict::Marginal, 17054},
                    ShiftedLinkCase{"AverageAlone", Fraction{0, 1}, 18'000'000, LinkVerdict::Works, 19917}),
    testing_support::CaseName());

// The peer's shift counts as this end's does: a second ADuC at the same
// setting doubles it in both receivers.
TEST(ShiftedLinks, APeerWithAFractionalDividerAddsItsShift) {
  const PeerReading reading = ReadPeer("aduc84x-t3@16.777216MHz,0ppm");
  ASSERT_EQ(reading.status, PeerReadStatus::Ok);
  const PeerEnd peer = ResolvePeer(reading.peer, 115200);
  ASSERT_EQ(peer.status, PeerEndStatus::Ok);
  EXPECT_TRUE(IsEqual(peer.end.edgeShift, Fraction{4, 73}));
  const LinkCheck check =
      CheckLink(Uart8051End(Fraction{8388608, 73}, ClockTolerance{0}, Fraction{4, 73}), peer.end, SerialFrame{});
  // Equal rates: the limits alone, each shrunk by 8/73 of a bit.
  EXPECT_TRUE(IsEqual(check.ownToPeer.fast.limit, ExactReceiverLimits(k8051Sampling, SerialFrame{}, {8, 73}).fast));
  EXPECT_TRUE(IsEqual(check.peerToOwn.slow.limit, ExactReceiverLimits(k8051Sampling, SerialFrame{}, {8, 73}).slow));
}

// ---------------------------------------------------------------------------
// The other end's names.

struct PeerCase {
  const char* name;
  const char* text;
  PeerReadStatus status;
  PeerKind kind = PeerKind::Ideal;
  std::uint64_t tolerancePpb = 0;  // for a second 8051
};

void PrintTo(const PeerCase& c, std::ostream* os) { *os << c.name; }

class PeerTexts : public testing::TestWithParam<PeerCase> {};

TEST_P(PeerTexts, NameAnAdapterIdealOrASecond8051) {
  const PeerCase& c = GetParam();
  const PeerReading reading = ReadPeer(c.text);
  EXPECT_EQ(reading.status, c.status);
  if (c.status == PeerReadStatus::Ok) {
    EXPECT_EQ(reading.peer.kind, c.kind);
    if (c.kind == PeerKind::Target) {
      EXPECT_EQ(reading.peer.tolerance.partsPerBillion, c.tolerancePpb);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, PeerTexts,
    testing::Values(PeerCase{"Adapter", "ch340", PeerReadStatus::Ok, PeerKind::Adapter},
                    PeerCase{"AdapterInUpperCase", "FT232H", PeerReadStatus::Ok, PeerKind::Adapter},
                    PeerCase{"Ideal", "ideal", PeerReadStatus::Ok, PeerKind::Ideal},
                    PeerCase{"TargetOnACrystal", "stc8@11.0592MHz", PeerReadStatus::Ok, PeerKind::Target, 100'000},
                    PeerCase{"TargetWithTolerance", "stc15@24MHz,1.5%", PeerReadStatus::Ok, PeerKind::Target,
                             15'000'000},
                    PeerCase{"SingleTarget", "t1-12t@12MHz", PeerReadStatus::Ok, PeerKind::Target, 100'000},
                    PeerCase{"UnknownTarget", "pic16@12MHz", PeerReadStatus::UnknownTarget},
                    PeerCase{"NoCrystal", "stc8@", PeerReadStatus::BadCrystal},
                    PeerCase{"CrystalWithoutNumber", "stc8@MHz", PeerReadStatus::BadCrystal},
                    PeerCase{"ToleranceTooLarge", "stc8@12MHz,10%", PeerReadStatus::BadTolerance},
                    PeerCase{"ToleranceWithoutUnit", "stc8@12MHz,50", PeerReadStatus::BadTolerance},
                    PeerCase{"UnknownAdapter", "ch9102", PeerReadStatus::UnknownName},
                    PeerCase{"NoName", "@12MHz", PeerReadStatus::UnknownName},
                    PeerCase{"Empty", "", PeerReadStatus::UnknownName}),
    testing_support::CaseName());

TEST(PeerEnds, SayWhenThePeerCannotMakeTheRate) {
  EXPECT_EQ(ResolvePeer(ReadPeer("ft232r").peer, 2500000).status, PeerEndStatus::AdapterCannot);
  EXPECT_EQ(ResolvePeer(ReadPeer("t1-12t@11.0592MHz").peer, 1000000).status, PeerEndStatus::TargetCannot);
  const PeerEnd second = ResolvePeer(ReadPeer("t1-12t@11.0592MHz").peer, 9600);
  ASSERT_EQ(second.status, PeerEndStatus::Ok);
  ASSERT_NE(second.target, nullptr);
  EXPECT_EQ(second.setting.reload, 0xFDU);
  EXPECT_TRUE(IsEqual(second.end.rate, Fraction{9600, 1}));
  EXPECT_EQ(PeerName(ReadPeer("stc8@24MHz,2%").peer), "stc8@24MHz");
}

// ---------------------------------------------------------------------------
// The classic Timer 1's exact rate.

struct ClassicCase {
  const char* name;
  const char* crystal;
  std::uint32_t reload;
  std::uint32_t smod;
  std::optional<Fraction> expected;
};

void PrintTo(const ClassicCase& c, std::ostream* os) { *os << c.name; }

class ClassicRates : public testing::TestWithParam<ClassicCase> {};

TEST_P(ClassicRates, AreTheFormulaInLowestTerms) {
  const ClassicCase& c = GetParam();
  const auto crystal = ReadExactCrystal(c.crystal);
  ASSERT_TRUE(crystal.has_value());
  const auto rate = ClassicTimer1Rate(*crystal, c.reload, c.smod);
  ASSERT_EQ(rate.has_value(), c.expected.has_value());
  if (rate) {
    EXPECT_EQ(rate->numerator, c.expected->numerator);
    EXPECT_EQ(rate->denominator, c.expected->denominator);
  }
}

INSTANTIATE_TEST_SUITE_P(Classic, ClassicRates,
                         testing::Values(ClassicCase{"ElevenMegahertz9600", "11.0592MHz", 0xFD, 0, Fraction{9600, 1}},
                                         ClassicCase{"SmodDoubles", "11.0592MHz", 0xFD, 1, Fraction{19200, 1}},
                                         ClassicCase{"TwelveMegahertz", "12MHz", 0xF3, 1, Fraction{62500, 13}},
                                         ClassicCase{"HalfHertzCrystal", "7.9296875MHz", 0, 0,
                                                     Fraction{15859375, 196608}},
                                         ClassicCase{"ReloadTooLarge", "12MHz", 256, 0, std::nullopt}),
                         testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
