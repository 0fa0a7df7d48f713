// The questions the page asks (and the command line shares) read from the
// user's texts: one table of cases per kind, each case the problem the
// page shows or what the answer stands for.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "answers/driver_answer.h"
#include "answers/link_question.h"
#include "answers/lookup_table.h"
#include "answers/plan_question.h"
#include "answers/target_answer.h"
#include "answers/target_finder.h"
#include "answers/target_question.h"

#include "res/preset_lists.h"
#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

// A text of the table: nullptr stands for a text GBK cannot hold.
GbkText Text(const char* text) { return text != nullptr ? GbkText(text) : std::nullopt; }

// ---------------------------------------------------------------------------
// A target question: the name (a target, family or part number) and UART
// read into the targets that drive the UART, or the problem.

struct TargetQuestionCase {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;
  const char* uart;
  const char* problem;
  const char* uartName;     // with no problem
  const char* firstTarget;  // with no problem
  std::size_t targets;
};

void PrintTo(const TargetQuestionCase& c, std::ostream* os) { *os << c.name; }

class TargetQuestions : public testing::TestWithParam<TargetQuestionCase> {};

TEST_P(TargetQuestions, ReadTheChipAndUartOrSayWhatIsWrong) {
  const TargetQuestionCase& c = GetParam();
  const TargetQuestion question = ReadTargetQuestion(Text(c.crystal), Text(c.baud), Text(c.target), Text(c.uart));
  EXPECT_EQ(question.problem, c.problem);
  EXPECT_EQ(question.inputs.has_value(), *c.problem == '\0');
  if (*c.problem != '\0') {
    return;
  }
  EXPECT_EQ(question.uart, c.uartName);
  ASSERT_EQ(question.targets.size(), c.targets);
  EXPECT_EQ(question.targets.front()->name, c.firstTarget);
  for (const BaudTarget* target : question.targets) {
    EXPECT_EQ(target->uart, c.uartName) << target->name << " drives another UART";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TargetQuestions,
    testing::Values(
        TargetQuestionCase{"OneTargetInAnyCase", "11.0592MHz", "9600", "STC-T2-1T", "", "", "UART1", "stc-t2-1t", 1},
        TargetQuestionCase{"FamilyTakesItsFirstUart", "24MHz", "115200", "stc8", "", "", "UART1", "stc-t2-1t", 6},
        TargetQuestionCase{"FamilyUartByNumber", "24MHz", "115200", "stc8", "2", "", "UART2", "stc-u2-t2", 1},
        TargetQuestionCase{"PartNumberStandsForItsFamily", "11.0592MHz", "9600", "AT89S52-24PU", "uart0", "", "UART0",
                           "t1-12t", 2},
        TargetQuestionCase{"UnknownName", "11.0592MHz", "9600", "nosuch", "", "unknownTarget", "", "", 0},
        TargetQuestionCase{"NameNotGbk", "11.0592MHz", "9600", nullptr, "", "unknownTarget", "", "", 0},
        TargetQuestionCase{"UartTheChipLacks", "11.0592MHz", "9600", "stc-t2-1t", "3", "unknownUart", "", "", 0},
        TargetQuestionCase{"UartNotGbk", "11.0592MHz", "9600", "stc8", nullptr, "unknownUart", "", "", 0},
        TargetQuestionCase{"CrystalNotGbk", nullptr, "9600", "stc8", "", "crystalNotGbk", "", "", 0},
        TargetQuestionCase{"BaudNotGbk", "11.0592MHz", nullptr, "stc8", "", "baudNotGbk", "", "", 0},
        TargetQuestionCase{"CrystalDoesNotRead", "fast", "9600", "stc8", "", "noResult", "", "", 0}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// The link's texts: the link to check, or the problem; the UART mode the
// code is then written in, and the classic calculation's refusal of mode 3.

struct LinkTextsCase {
  const char* name;
  bool asked;
  const char* peer;
  const char* tolerance;
  const char* frame;
  const char* problem;
  const char* classicProblem;
  UartMode mode;
};

void PrintTo(const LinkTextsCase& c, std::ostream* os) { *os << c.name; }

class LinkQuestions : public testing::TestWithParam<LinkTextsCase> {};

TEST_P(LinkQuestions, ReadTheLinkOrSayWhatIsWrong) {
  const LinkTextsCase& c = GetParam();
  const LinkTexts texts{c.asked, Text(c.peer), Text(c.tolerance), Text(c.frame)};
  const LinkQuestion question = ReadLinkQuestion(texts);
  EXPECT_EQ(question.problem, c.problem);
  EXPECT_EQ(question.Ask() != nullptr, c.asked && *c.problem == '\0');
  EXPECT_EQ(CodeUartMode(question), c.mode);
  EXPECT_EQ(ReadClassicLinkQuestion(texts).problem, c.classicProblem);
  const QuestionLink link = AnswerQuestionLink(question, {}, 9600);
  EXPECT_EQ(link.problem, question.problem) << "a problem is the link's status";
  EXPECT_EQ(link.link.baud, 9600);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LinkQuestions,
    testing::Values(
        LinkTextsCase{"NotAsked", false, "", "", "", "", "", UartMode::Mode1},
        LinkTextsCase{"AdapterEightNoneOne", true, "cp2102", "100ppm", "8N1", "", "", UartMode::Mode1},
        LinkTextsCase{"EvenParityNeedsModeThree", true, "cp2102", "1.5%", "8E1", "", "frameNeedsTarget",
                      UartMode::Mode3},
        LinkTextsCase{"PeerNotGbk", true, nullptr, "100ppm", "8N1", "badPeer", "badPeer", UartMode::Mode1},
        LinkTextsCase{"UnknownPeer", true, "nosuch", "100ppm", "8N1", "badPeer", "badPeer", UartMode::Mode1},
        LinkTextsCase{"SecondChipUnknown", true, "nosuch@11.0592MHz", "100ppm", "8N1", "unknownTarget", "unknownTarget",
                      UartMode::Mode1},
        LinkTextsCase{"SecondChipsCrystal", true, "stc15@fast", "100ppm", "8N1", "badPeerCrystal", "badPeerCrystal",
                      UartMode::Mode1},
        LinkTextsCase{"SecondChipsTolerance", true, "stc15@22.1184MHz,lots", "100ppm", "8N1", "badPeerTolerance",
                      "badPeerTolerance", UartMode::Mode1},
        LinkTextsCase{"OwnTolerance", true, "ideal", "lots", "8N1", "badTolerance", "badTolerance", UartMode::Mode1},
        LinkTextsCase{"OwnToleranceNotGbk", true, "ideal", nullptr, "8N1", "badTolerance", "badTolerance",
                      UartMode::Mode1},
        LinkTextsCase{"Frame", true, "ideal", "100ppm", "7N1", "badFrame", "badFrame", UartMode::Mode1},
        // The frame is the code's even where the other end does not read.
        LinkTextsCase{"FrameBesideABadPeer", true, "nosuch", "100ppm", "8O1", "badPeer", "badPeer", UartMode::Mode3}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// One row of the crystal finder on targets: what SIO_Init would be, the
// same word on the command line's table and the page.

struct FinderRowCase {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;
  FinderOutcome outcome;
  std::optional<TargetStatus> status;
};

void PrintTo(const FinderRowCase& c, std::ostream* os) { *os << c.name; }

class TargetFinderRows : public testing::TestWithParam<FinderRowCase> {};

TEST_P(TargetFinderRows, SayWhatTheCodeWouldBe) {
  const FinderRowCase& c = GetParam();
  const TargetFinderRow row = SolveTargetFinderRow(c.crystal, c.baud, TargetsOfFirstUart(c.target));
  EXPECT_EQ(row.outcome, c.outcome);
  EXPECT_EQ(row.Status(), c.status);
  const bool inRange = c.outcome == FinderOutcome::Code || c.outcome == FinderOutcome::Warning;
  EXPECT_EQ(row.Best() != nullptr, inRange);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TargetFinderRows,
    testing::Values(
        FinderRowCase{"Exact", "11.0592MHz", "9600", "t1-12t", FinderOutcome::Code, TargetStatus::Ok},
        FinderRowCase{"WithinOnePercent", "24MHz", "115200", "stc-t2-1t", FinderOutcome::Code, TargetStatus::Ok},
        FinderRowCase{"BeyondOnePercent", "12MHz", "19200", "t1-12t", FinderOutcome::Warning, TargetStatus::Ok},
        FinderRowCase{"BelowTheTarget", "12MHz", "10", "t1-12t", FinderOutcome::TooLow, TargetStatus::TooLow},
        FinderRowCase{"AboveEveryTarget", "12MHz", "3000000", "t1-12t", FinderOutcome::TooHigh, TargetStatus::TooHigh},
        FinderRowCase{"TextsDoNotRead", "fast", "9600", "t1-12t", FinderOutcome::NoResult, std::nullopt}),
    testing_support::CaseName());

// The finder's order by link, the same on both faces: the better verdict
// first, then the larger tolerance left to this 8051's clock; ties and
// links without a check keep the presets' order.
TEST(FinderOrder, RanksByVerdictThenTolerance) {
  const auto checked = [](LinkVerdict verdict, std::optional<std::uint32_t> ppm) {
    QuestionLink link;
    link.link.status = LinkStatus::Checked;
    link.link.check = LinkCheck{};
    link.link.check->verdict = verdict;
    link.link.check->maxOwnTolerancePpm = ppm;
    return link;
  };
  QuestionLink problem;
  problem.problem = "badPeer";
  const std::vector<QuestionLink> links = {checked(LinkVerdict::Marginal, 300), checked(LinkVerdict::Works, 200),
                                           checked(LinkVerdict::Fails, std::nullopt), problem,
                                           checked(LinkVerdict::Works, 500)};
  EXPECT_EQ(FinderOrder(links, false), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(FinderOrder(links, true), (std::vector<std::size_t>{4, 1, 0, 2, 3}));
}

// ---------------------------------------------------------------------------
// The build check of a target's best setting against --max-error.

struct CodeCheckCase {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;
  double limit;
  TargetCodeCheck check;
};

void PrintTo(const CodeCheckCase& c, std::ostream* os) { *os << c.name; }

class TargetCodeChecks : public testing::TestWithParam<CodeCheckCase> {};

TEST_P(TargetCodeChecks, HoldTheBestSettingToTheLimit) {
  const CodeCheckCase& c = GetParam();
  const TargetFinderRow row = SolveTargetFinderRow(c.crystal, c.baud, TargetsOfFirstUart(c.target));
  ASSERT_TRUE(row.family.has_value());
  EXPECT_EQ(CheckTargetCode(*row.family, c.limit), c.check);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TargetCodeChecks,
    testing::Values(
        CodeCheckCase{"Exact", "11.0592MHz", "9600", "t1-12t", 0.0, TargetCodeCheck::Passes},
        CodeCheckCase{"CodeBeyondATighterLimit", "24MHz", "115200", "stc-t2-1t", 0.1, TargetCodeCheck::BeyondLimit},
        CodeCheckCase{"WarningOnly", "12MHz", "19200", "t1-12t", 1.0, TargetCodeCheck::NoCode},
        CodeCheckCase{"AWiderLimitAllowsTheCode", "12MHz", "19200", "t1-12t", 10.0, TargetCodeCheck::Passes},
        CodeCheckCase{"TooLow", "12MHz", "10", "t1-12t", 1.0, TargetCodeCheck::TooLow},
        CodeCheckCase{"TooHigh", "12MHz", "3000000", "t1-12t", 1.0, TargetCodeCheck::TooHigh}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// A plan's texts: each UART request read (or the request that is wrong),
// each UART's link its own other end or the page's, and the code in the
// UART mode of the first link that reads.

struct PlanRequestCase {
  const char* uart;
  const char* baud;
  const char* peer;  // "": the page's link
};

struct PlanTextsCase {
  const char* name;
  const char* crystal;
  const char* target;
  const char* linkPeer;  // "": no link asked about
  const char* frame;
  std::vector<PlanRequestCase> requests;
  const char* problem;
  std::optional<std::size_t> problemRequest;
  std::vector<bool> linked;  // by request, with no problem
  UartMode mode;
};

void PrintTo(const PlanTextsCase& c, std::ostream* os) { *os << c.name; }

PlanTexts PlanTextsOf(const PlanTextsCase& c) {
  PlanTexts texts{Text(c.crystal), Text(c.target), {}};
  for (const PlanRequestCase& request : c.requests) {
    texts.requests.push_back(
        {Text(request.uart), Text(request.baud), request.peer == nullptr || *request.peer != '\0', Text(request.peer)});
  }
  return texts;
}

LinkTexts LinkTextsOf(const PlanTextsCase& c) { return {*c.linkPeer != '\0', c.linkPeer, "100ppm", c.frame}; }

class PlanQuestions : public testing::TestWithParam<PlanTextsCase> {};

TEST_P(PlanQuestions, ReadEveryRequestAndItsLink) {
  const PlanTextsCase& c = GetParam();
  const PlanQuestion question = ReadPlanQuestion(PlanTextsOf(c), LinkTextsOf(c));
  EXPECT_EQ(question.problem, c.problem);
  EXPECT_EQ(question.problemRequest, c.problemRequest);
  const PlanQuestionAnswer answer = AnswerPlanQuestion(question, Language::English);
  ASSERT_EQ(answer.answer.has_value(), *c.problem == '\0');
  if (!answer.answer) {
    return;
  }
  ASSERT_TRUE(answer.answer->result.plan.has_value());
  ASSERT_EQ(question.links.size(), c.linked.size());
  for (std::size_t index = 0; index < c.linked.size(); ++index) {
    EXPECT_EQ(question.links[index].Ask() != nullptr, c.linked[index]) << index;
    EXPECT_EQ(answer.answer->links.at(index).has_value(), c.linked[index]) << index;
    EXPECT_EQ(answer.answer->requests.at(index).uartMode, c.mode) << index;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlanQuestions,
    testing::Values(
        PlanTextsCase{"NoLink",
                      "24MHz",
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "115200", ""}, {"2", "9600", ""}},
                      "",
                      std::nullopt,
                      {false, false},
                      UartMode::Mode1},
        PlanTextsCase{"OwnPeerOfTheSecondUart",
                      "24MHz",
                      "stc8",
                      "",
                      "8N1",
                      {{"uart1", "115200", ""}, {"UART2", "9600", "cp2102"}},
                      "",
                      std::nullopt,
                      {false, true},
                      UartMode::Mode1},
        PlanTextsCase{"LinkOfEveryUartInEvenParity",
                      "24MHz",
                      "stc8",
                      "ch340",
                      "8E1",
                      {{"1", "115200", ""}, {"2", "9600", "cp2102"}},
                      "",
                      std::nullopt,
                      {true, true},
                      UartMode::Mode3},
        PlanTextsCase{"OwnPeerThatDoesNotRead",
                      "24MHz",
                      "stc8",
                      "",
                      "8E1",
                      {{"1", "115200", "nosuch"}, {"2", "9600", "cp2102"}},
                      "",
                      std::nullopt,
                      {false, true},
                      UartMode::Mode3},
        PlanTextsCase{"UnknownChip",
                      "24MHz",
                      "nosuch",
                      "",
                      "8N1",
                      {{"1", "9600", ""}},
                      "unknownTarget",
                      std::nullopt,
                      {},
                      UartMode::Mode1},
        PlanTextsCase{"CrystalNotGbk",
                      nullptr,
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "9600", ""}},
                      "crystalNotGbk",
                      std::nullopt,
                      {},
                      UartMode::Mode1},
        PlanTextsCase{"CrystalDoesNotRead",
                      "fast",
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "9600", ""}},
                      "noResult",
                      std::nullopt,
                      {},
                      UartMode::Mode1},
        PlanTextsCase{"UartTheChipLacksNoName",
                      "24MHz",
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "9600", ""}, {"x", "9600", ""}},
                      "unknownUart",
                      1,
                      {},
                      UartMode::Mode1},
        PlanTextsCase{"SameUartTwice",
                      "24MHz",
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "9600", ""}, {"uart1", "4800", ""}},
                      "uartTwice",
                      1,
                      {},
                      UartMode::Mode1},
        PlanTextsCase{
            "RateNotGbk", "24MHz", "stc8", "", "8N1", {{"1", nullptr, ""}}, "baudNotGbk", 0, {}, UartMode::Mode1},
        PlanTextsCase{"RateDoesNotRead",
                      "24MHz",
                      "stc8",
                      "",
                      "8N1",
                      {{"1", "9600", ""}, {"2", "x", ""}},
                      "rateNoResult",
                      1,
                      {},
                      UartMode::Mode1}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// The page's driver: one UART's best target or a plan's UARTs, refused as
// tesmirol-cli refuses the options for the chip the name stands for.

struct DriverCase {
  const char* name;
  const char* target;
  std::vector<PlanRequestCase> requests;
  DriverChoices options;
  const char* status;
  std::vector<std::string> files;  // the names of the files, for "ok"
};

void PrintTo(const DriverCase& c, std::ostream* os) { *os << c.name; }

class DriverAnswers : public testing::TestWithParam<DriverCase> {};

TEST_P(DriverAnswers, OfferTheFilesTheChipTakes) {
  const DriverCase& c = GetParam();
  PlanTexts texts{GbkText("24MHz"), GbkText(c.target), {}};
  for (const PlanRequestCase& request : c.requests) {
    texts.requests.push_back({Text(request.uart), Text(request.baud), false, std::nullopt});
  }
  const DriverAnswer answer = AnswerDriver(texts, c.options, {}, Language::English);
  EXPECT_EQ(answer.status, c.status);
  EXPECT_EQ(answer.refused.has_value(), std::string_view(c.status) == "refused");
  // Each named file is a header and a source, then the one-file form (-1);
  // past the last there is none.
  EXPECT_EQ(DriverFileText(answer, -1, Language::English).has_value(), std::string_view(c.status) == "ok");
  for (std::size_t index = 0; index < c.files.size(); ++index) {
    const std::optional<std::string> text = DriverFileText(answer, static_cast<std::int32_t>(index), Language::English);
    ASSERT_TRUE(text.has_value()) << c.files[index];
    const std::string stem = c.files[index].substr(0, c.files[index].find('.'));
    EXPECT_NE(text->find(stem), std::string::npos) << c.files[index] << " names its UART";
  }
  EXPECT_FALSE(DriverFileText(answer, static_cast<std::int32_t>(c.files.size()), Language::English).has_value());
}

DriverChoices Buffers(std::uint32_t size, BufferSpace space) {
  DriverChoices choices;
  choices.rxSize = size;
  choices.txSize = size;
  choices.xdata = space == BufferSpace::Xdata;
  return choices;
}

INSTANTIATE_TEST_SUITE_P(
    Options, DriverAnswers,
    testing::Values(
        DriverCase{
            "OneUart", "stc8", {{"", "115200", ""}}, Buffers(16, BufferSpace::Idata), "ok", {"uart1.h", "uart1.c"}},
        DriverCase{"Plan",
                   "stc8",
                   {{"1", "115200", ""}, {"2", "9600", ""}},
                   Buffers(16, BufferSpace::Idata),
                   "ok",
                   {"uart1.h", "uart1.c", "uart2.h", "uart2.c"}},
        DriverCase{"NoCode", "stc8", {{"", "10000000", ""}}, Buffers(16, BufferSpace::Idata), "noCode", {}},
        DriverCase{"SizeTheSpaceLacks", "stc8", {{"", "115200", ""}}, Buffers(12, BufferSpace::Idata), "badSize", {}},
        DriverCase{
            "XdataOnAChipWithoutXram", "t1-12t", {{"", "9600", ""}}, Buffers(16, BufferSpace::Xdata), "refused", {}}),
    testing_support::CaseName());

// ---------------------------------------------------------------------------
// The page's lookup table: its texts read into what it lists and over how
// many rows, or the problem; its rows asked a slice at a time are the rows
// of the whole, a plan's slices whole crystals.

struct LookupCase {
  const char* name;
  LookupTableTexts texts;
  LookupKind kind;
  const char* problem;
  std::optional<std::size_t> problemRequest;
  std::size_t rowsPerCrystal;  // with no problem: the rows of each crystal of the list
  bool everyCrystal;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class LookupTables : public testing::TestWithParam<LookupCase> {};

// The shown rows from up to to, as the page reads them.
nlohmann::json LookupSlice(const LookupTable& table, std::size_t from, std::size_t to) {
  JsonWriter json;
  WriteLookupRows(json, table, from, to, Language::English);
  return nlohmann::json::parse(json.Text());
}

TEST_P(LookupTables, ReadTheTextsAndAnswerAnySliceOfTheRows) {
  const LookupCase& c = GetParam();
  const LookupTable table = ReadLookupTable(c.texts);
  EXPECT_EQ(table.kind, c.kind);
  EXPECT_EQ(table.problem, c.problem);
  EXPECT_EQ(table.problemRequest, c.problemRequest);
  const std::size_t crystals = c.everyCrystal ? CrystalPresets().size() : 1;
  const std::size_t count = *c.problem == '\0' ? crystals * c.rowsPerCrystal : 0;
  ASSERT_EQ(table.ShownRows(), count);
  const nlohmann::json whole = LookupSlice(table, 0, count);
  ASSERT_EQ(whole["count"], count);
  ASSERT_EQ(whole["cells"].size(), count);
  const std::size_t perRow = c.kind == LookupKind::Plan ? c.texts.otherUarts.size() + 1 : 1;
  EXPECT_EQ(whole["rows"].size(), count / perRow);
  // Slices that start and end inside a plan's crystal, and one past the end.
  for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{3, 8},
                                 {std::max<std::size_t>(count, 1) - 1, count + 40},
                                 {count + 5, count + 9}}) {
    const nlohmann::json slice = LookupSlice(table, from, to);
    const std::size_t first = slice["first"];
    EXPECT_EQ(first % perRow, 0U) << from;
    EXPECT_LE(first, std::min(from, count)) << from;
    EXPECT_GE(first + slice["cells"].size(), std::min(to, count)) << from;
    EXPECT_EQ(slice["rows"].size() * perRow, slice["cells"].size()) << from;
    for (std::size_t index = 0; index < slice["cells"].size(); ++index) {
      EXPECT_EQ(slice["cells"][index], whole["cells"][first + index]) << from << " row " << first + index;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LookupTables,
    testing::Values(
        LookupCase{"ClassicCrystalAtEveryRate",
                   {"11.0592MHz", "", "classic", "", {}},
                   LookupKind::Classic,
                   "",
                   std::nullopt,
                   BaudPresets().size(),
                   false},
        LookupCase{"ClassicMatrix",
                   {"", "", "classic", "", {}},
                   LookupKind::Classic,
                   "",
                   std::nullopt,
                   BaudPresets().size(),
                   true},
        LookupCase{"TargetEveryCrystalAtOneRate",
                   {"", "9600", "stc8", "3", {}},
                   LookupKind::Target,
                   "",
                   std::nullopt,
                   1,
                   true},
        LookupCase{"TargetMatrix",
                   {"", "", "aduc84x-t3", "", {}},
                   LookupKind::Target,
                   "",
                   std::nullopt,
                   BaudPresets().size(),
                   true},
        LookupCase{"PlanOfTwoUarts",
                   {"", "115200", "stc15", "1", {{"2", "9600"}}},
                   LookupKind::Plan,
                   "",
                   std::nullopt,
                   2,
                   true},
        LookupCase{"PlanOfThreeUartsOnOneCrystal",
                   {"22.1184MHz", "115200", "stc8", "1", {{"2", "9600"}, {"3", "4800"}}},
                   LookupKind::Plan,
                   "",
                   std::nullopt,
                   3,
                   false},
        LookupCase{"CrystalNotGbk",
                   {std::nullopt, "", "classic", "", {}},
                   LookupKind::Classic,
                   "crystalNotGbk",
                   std::nullopt,
                   0,
                   false},
        LookupCase{"UnknownTarget",
                   {"", "", "no-such-chip", "", {}},
                   LookupKind::Target,
                   "unknownTarget",
                   std::nullopt,
                   0,
                   false},
        LookupCase{"UnknownUart", {"", "", "stc8", "9", {}}, LookupKind::Target, "unknownUart", std::nullopt, 0, false},
        LookupCase{"PlanUartTwice",
                   {"", "9600", "stc8", "1", {{"UART1", "4800"}}},
                   LookupKind::Plan,
                   "uartTwice",
                   1,
                   0,
                   false},
        LookupCase{"PlanRateOfNoResult",
                   {"", "9600", "stc8", "1", {{"2", "0"}}},
                   LookupKind::Plan,
                   "rateNoResult",
                   1,
                   0,
                   false}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::answers
