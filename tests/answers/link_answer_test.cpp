#include "answers/link_answer.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "codegen/init_code_generator.h"
#include "engine/exact_crystal.h"

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

// ---------------------------------------------------------------------------
// The classic calculation's link: the status every face reports, and the
// check held to the engine's own at the rate of the setting the code uses.

struct ClassicLinkCase {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* peer;
  LinkStatus status;
};

void PrintTo(const ClassicLinkCase& c, std::ostream* os) { *os << c.name; }

class ClassicLinks : public testing::TestWithParam<ClassicLinkCase> {};

TEST_P(ClassicLinks, CheckTheRateTheCodeRunsAt) {
  const ClassicLinkCase& c = GetParam();
  const std::optional<BaudCalculation> calculation = CalculateBaud(c.crystal, c.baud);
  ASSERT_TRUE(calculation.has_value());
  const PeerReading peer = ReadPeer(c.peer);
  ASSERT_EQ(peer.status, PeerReadStatus::Ok);
  const LinkAsk ask{peer.peer, kDefaultCrystalTolerance, SerialFrame{}};
  const LinkAnswer answer = CheckLinkAt(ask, ClassicOwnRate(*calculation), calculation->baud);
  EXPECT_EQ(LinkStatusName(answer.status), LinkStatusName(c.status));
  EXPECT_EQ(answer.baud, calculation->baud);
  if (c.status != LinkStatus::Checked) {
    EXPECT_FALSE(answer.check.has_value());
    EXPECT_EQ(AnswerVerdict(answer).has_value(), c.status == LinkStatus::PeerCannot);
    return;
  }
  // The engine's check at the code's own setting, worked out here anew.
  const std::optional<std::size_t> smod = ClassicLinkSmod(*calculation);
  ASSERT_TRUE(smod.has_value());
  if (ChooseInitCodeSetting(*calculation).outcome == GenerationOutcome::Code) {
    EXPECT_EQ(*smod, ChooseInitCodeSetting(*calculation).smod) << "the link runs at the code's setting";
  }
  const std::optional<Fraction> rate =
      ClassicTimer1Rate(*ReadExactCrystal(c.crystal), static_cast<std::uint32_t>(calculation->mode.at(*smod).reload),
                        static_cast<std::uint32_t>(*smod));
  ASSERT_TRUE(rate.has_value());
  const PeerEnd peerEnd = ResolvePeer(peer.peer, calculation->baud);
  const LinkCheck expected = CheckLink(Uart8051End(*rate, kDefaultCrystalTolerance), peerEnd.end, SerialFrame{});
  ASSERT_TRUE(answer.check.has_value());
  EXPECT_EQ(answer.check->verdict, expected.verdict);
  EXPECT_EQ(answer.check->maxOwnTolerancePpm, expected.maxOwnTolerancePpm);
  EXPECT_EQ(LinkMargin(*answer.check), LinkMargin(expected));
  EXPECT_EQ(LinkCodeNotes(peer.peer, answer, Language::English).size(), 1U) << "the code carries one note line";
}

INSTANTIATE_TEST_SUITE_P(
    Questions, ClassicLinks,
    testing::Values(ClassicLinkCase{"ExactCrystalIdealEnd", "11.0592MHz", "9600", "ideal", LinkStatus::Checked},
                    ClassicLinkCase{"ExactCrystalAdapter", "11.0592MHz", "115200", "ch340", LinkStatus::Checked},
                    // Neither setting within 1 %: the nearer one in range is checked.
                    ClassicLinkCase{"NoCodeButASettingInRange", "12MHz", "19200", "ideal", LinkStatus::Checked},
                    // CalculateBaud reads the text, the exact reader refuses it: no rate to check.
                    ClassicLinkCase{"CrystalTheExactReaderRefuses", "11.0592000000000000001MHz", "9600", "ideal",
                                    LinkStatus::NoExactRate},
                    ClassicLinkCase{"RateBelowTheCrystalsRange", "11.0592MHz", "10", "ideal", LinkStatus::NoSetting},
                    ClassicLinkCase{"AdapterCannotRunNearTheRate", "1MHz", "100", "cp2102", LinkStatus::PeerCannot}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// The crystal finder's ranking, the same on the command line and the page:
// the better verdict first, then the larger tolerance left to this clock.

struct RankCase {
  const char* name;
  LinkRank first;
  LinkRank second;
  bool firstBefore;
  bool secondBefore;
};

void PrintTo(const RankCase& c, std::ostream* os) { *os << c.name; }

class FinderRanking : public testing::TestWithParam<RankCase> {};

TEST_P(FinderRanking, PutsTheBetterLinkFirst) {
  const RankCase& c = GetParam();
  EXPECT_EQ(RanksBefore(c.first, c.second), c.firstBefore);
  EXPECT_EQ(RanksBefore(c.second, c.first), c.secondBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, FinderRanking,
    testing::Values(
        RankCase{"VerdictBeforeTolerance", {LinkVerdict::Works, 100}, {LinkVerdict::Marginal, 20000}, true, false},
        RankCase{"LargerToleranceFirst", {LinkVerdict::Works, 500}, {LinkVerdict::Works, 20000}, false, true},
        RankCase{"SomeToleranceBeforeNone", {LinkVerdict::Fails, 1}, {LinkVerdict::Fails, std::nullopt}, true, false},
        RankCase{"EqualKeepsItsOrder", {LinkVerdict::Marginal, 300}, {LinkVerdict::Marginal, 300}, false, false}),
    testing_support::CaseName());

// How a crystal's several links fare together: its worst verdict and its least tolerance.
TEST(FinderRanking, ACrystalFaresAsItsWorstLink) {
  LinkAnswer works;
  works.status = LinkStatus::Checked;
  works.check = LinkCheck{};
  works.check->verdict = LinkVerdict::Works;
  works.check->maxOwnTolerancePpm = 9000;
  LinkAnswer marginal = works;
  marginal.check->verdict = LinkVerdict::Marginal;
  marginal.check->maxOwnTolerancePpm = 400;
  LinkAnswer unchecked;
  unchecked.status = LinkStatus::NoExactRate;
  struct CrystalLinks {
    std::vector<LinkAnswer> links;
    LinkVerdict verdict;
    std::optional<std::uint32_t> tolerance;
  };
  const std::vector<CrystalLinks> cases = {{{works}, LinkVerdict::Works, 9000},
                                           {{works, marginal}, LinkVerdict::Marginal, 400},
                                           {{works, unchecked}, LinkVerdict::Fails, std::nullopt}};
  for (const auto& c : cases) {
    const LinkRank rank = RankOfLinks(c.links);
    EXPECT_EQ(rank.verdict, c.verdict);
    EXPECT_EQ(rank.maxOwnTolerancePpm, c.tolerance);
  }
}

}  // namespace
}  // namespace tesmirol::answers
