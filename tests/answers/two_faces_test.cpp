// The command line and the page read the same answers in two faces. Every
// member the command line's face has, the page's has under the same name,
// with the same value (a double as its bits, a 64-bit count as a decimal
// string): the keys cannot drift apart again.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "answers/classic_json.h"
#include "answers/link_answer.h"
#include "answers/listing_json.h"
#include "answers/plan_question.h"
#include "answers/reload_json.h"
#include "answers/target_json.h"
#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/target_catalogue.h"

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

// A question answered: its JSON written in the face given.
struct FaceQuestion {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;  // empty: the classic calculation
  const char* peer;    // empty: no link
};

std::string Answer(const FaceQuestion& q, JsonFace face) {
  JsonWriter json(face);
  json.BeginObject();
  std::optional<LinkAsk> ask;
  if (*q.peer != '\0') {
    ask = LinkAsk{ReadPeer(q.peer).peer, kDefaultCrystalTolerance, SerialFrame{}};
  }
  std::optional<LinkAnswer> link;
  if (*q.target == '\0') {
    const BaudCalculation calculation = *CalculateBaud(q.crystal, q.baud);
    if (ask) {
      link = CheckLinkAt(*ask, ClassicOwnRate(calculation), calculation.baud);
    }
    const std::vector<std::string> notes =
        link ? LinkCodeNotes(ask->peer, *link, Language::Chinese) : std::vector<std::string>();
    EXPECT_TRUE(WriteClassicMembers(json, calculation, GenerateInitCode(calculation, Language::Chinese, notes)));
  } else {
    const TargetInputs inputs = *ReadTargetInputs(q.crystal, q.baud);
    const FamilySolution family = SolveTargets(FindBaudTargets(q.target), inputs);
    const TargetSolution* best = family.best ? &family.solutions.at(*family.best) : nullptr;
    if (ask) {
      link = CheckLinkAt(*ask, SettingOwnRate(best != nullptr ? &best->best : nullptr), inputs.baud);
    }
    const GeneratedInitCode code = GenerateTargetCode(best, inputs, UartMode::Mode1, Language::Chinese, {});
    EXPECT_TRUE(WriteTargetMembers(json, q.target, family, inputs, code));
  }
  if (link) {
    json.Key("link");
    WriteLink(json, *ask, *link);
  }
  json.EndObject();
  return json.Text();
}

double FromBits(const std::string& hex) { return std::bit_cast<double>(std::stoull(hex, nullptr, 16)); }

// Every member of the command line's value in the page's, the same value.
void ExpectSameAnswer(const nlohmann::ordered_json& cli, const nlohmann::ordered_json& page, const std::string& at) {
  if (cli.is_object()) {
    ASSERT_TRUE(page.is_object()) << at;
    for (const auto& [key, value] : cli.items()) {
      ASSERT_TRUE(page.contains(key)) << at << "." << key << " is missing from the page's answer";
      std::string member = at;
      member.append(".").append(key);
      ExpectSameAnswer(value, page.at(key), member);
    }
  } else if (cli.is_array()) {
    ASSERT_TRUE(page.is_array()) << at;
    ASSERT_EQ(cli.size(), page.size()) << at;
    for (std::size_t index = 0; index < cli.size(); ++index) {
      std::string element = at;
      element.append("[").append(std::to_string(index)).append("]");
      ExpectSameAnswer(cli.at(index), page.at(index), element);
    }
  } else if (cli.is_number_float()) {
    ASSERT_TRUE(page.is_string()) << at << ": a double goes to the page as its bits";
    EXPECT_EQ(FromBits(page.get<std::string>()), cli.get<double>()) << at;
  } else if (cli.is_number_unsigned() && page.is_string()) {
    EXPECT_EQ(page.get<std::string>(), std::to_string(cli.get<std::uint64_t>())) << at;
  } else {
    EXPECT_EQ(cli, page) << at;
  }
}

void PrintTo(const FaceQuestion& c, std::ostream* os) { *os << c.name; }

class TwoFaces : public testing::TestWithParam<FaceQuestion> {};

TEST_P(TwoFaces, ThePageReadsEveryMemberOfTheCommandLinesAnswer) {
  const nlohmann::ordered_json cli = nlohmann::ordered_json::parse(Answer(GetParam(), JsonFace::CommandLine));
  const nlohmann::ordered_json page = nlohmann::ordered_json::parse(Answer(GetParam(), JsonFace::Page));
  ExpectSameAnswer(cli, page, "answer");
}

INSTANTIATE_TEST_SUITE_P(
    Questions, TwoFaces,
    testing::Values(FaceQuestion{"Classic", "11.0592MHz", "9600", "", ""},
                    FaceQuestion{"ClassicWarning", "12MHz", "19200", "", ""},
                    FaceQuestion{"ClassicLinkToAdapter", "11.0592MHz", "115200", "", "ch340"},
                    FaceQuestion{"ClassicLinkWithoutExactRate", "11.0592000000000000001MHz", "9600", "", "ideal"},
                    FaceQuestion{"Family", "24MHz", "115200", "stc8", ""},
                    FaceQuestion{"TargetLinkToSecond8051", "11.0592MHz", "9600", "stc8", "stc15@22.1184MHz"},
                    FaceQuestion{"TargetOutOfRange", "11.0592MHz", "3000000", "stc-t2-1t", "ideal"}),
    testing_support::CaseName());

// The rates of a reload: the command line's report beside the page's
// report of the same look-up.
struct ReloadFace {
  const char* name;
  const char* crystal;
  std::uint32_t reload;
  const char* target;  // empty: the classic Timer 1
  const char* baud;    // empty: no rate to compare with
};

void PrintTo(const ReloadFace& c, std::ostream* os) { *os << c.name; }

class ReloadFaces : public testing::TestWithParam<ReloadFace> {};

TEST_P(ReloadFaces, ThePageReadsEveryMemberOfTheCommandLinesReport) {
  const ReloadFace& q = GetParam();
  const BaudTarget* target = *q.target != '\0' ? FindBaudTarget(q.target) : nullptr;
  const ReloadAnswer answer = AnswerReload(
      q.crystal, q.reload,
      target != nullptr ? std::span<const BaudTarget* const>(&target, 1) : std::span<const BaudTarget* const>(),
      q.baud);
  JsonWriter cli(JsonFace::CommandLine);
  cli.BeginObject();
  ASSERT_TRUE(target != nullptr ? WriteTargetReloadMembers(cli, answer, answer.targets.front())
                                : WriteClassicReloadMembers(cli, answer));
  cli.EndObject();
  JsonWriter page(JsonFace::Page);
  page.BeginObject();
  WriteReloadAnswer(page, answer);
  page.EndObject();
  ExpectSameAnswer(nlohmann::ordered_json::parse(cli.Text()),
                   nlohmann::ordered_json::parse(page.Text()).at("reports").at(0), "report");
}

INSTANTIATE_TEST_SUITE_P(Questions, ReloadFaces,
                         testing::Values(ReloadFace{"Classic", "11.0592MHz", 0xFD, "", ""},
                                         ReloadFace{"ClassicAgainstARate", "11.0592MHz", 0xFD, "", "9700"},
                                         ReloadFace{"ClassicNegativeCrystal", "-12MHz", 0, "", ""},
                                         ReloadFace{"SixteenBit", "11.0592MHz", 0xFFE8, "stc-t2-1t", ""},
                                         ReloadFace{"ExactFractionsAgainstARate", "7.9296875MHz", 0xF9, "t1-12t",
                                                    "4800"},
                                         ReloadFace{"MantissaExponent", "32MHz", 255, "cc253x-usart0", ""}),
                         testing_support::CaseName());

// A document written by one function in either face.
struct FaceDocument {
  const char* name;
  std::function<void(JsonWriter&)> write;
};

void PrintTo(const FaceDocument& c, std::ostream* os) { *os << c.name; }

// The plan the page asks for: UART1 at 115200 bps, UART2 at RATE with its
// own other end.
void WritePlan(JsonWriter& json, const char* crystal, const char* rate) {
  const PlanTexts texts{crystal, "stc8", {{"UART1", "115200", false, {}}, {"UART2", rate, true, "ideal"}}};
  WritePlanQuestion(json, AnswerPlanQuestion(ReadPlanQuestion(texts, LinkTexts{}), Language::English));
}

class TwoFacedDocuments : public testing::TestWithParam<FaceDocument> {};

TEST_P(TwoFacedDocuments, ThePageReadsEveryMemberOfTheCommandLinesDocument) {
  JsonWriter cli(JsonFace::CommandLine);
  JsonWriter page;
  GetParam().write(cli);
  GetParam().write(page);
  ExpectSameAnswer(nlohmann::ordered_json::parse(cli.Text()), nlohmann::ordered_json::parse(page.Text()), "document");
}

INSTANTIATE_TEST_SUITE_P(
    Documents, TwoFacedDocuments,
    testing::Values(FaceDocument{"PlanWithALink", [](JsonWriter& json) { WritePlan(json, "22.1184MHz", "9600"); }},
                    FaceDocument{"PlanConflict", [](JsonWriter& json) { WritePlan(json, "11.0592MHz", "3000000"); }},
                    FaceDocument{"TargetListing", WriteTargetListing},
                    FaceDocument{"PartListing", [](JsonWriter& json) { WritePartListing(json, "stc8"); }},
                    FaceDocument{"PresetListing", WritePresetListing}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::answers
