// The reload look-up and the assembly download answered once: the reload
// texts the command line and the page both read, the page's answer over a
// UART's generators (each held to the engine's rates), and the assembly of
// a target question's best setting, or none where there is no code.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "answers/reload_answer.h"
#include "answers/reload_json.h"
#include "answers/target_answer.h"
#include "engine/target_catalogue.h"

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

TEST(ReloadText, ReadsHexadecimalAndDecimalUpToSixteenBits) {
  struct Case {
    const char* text = "";
    std::optional<std::uint32_t> value;
  };
  const std::vector<Case> cases = {
      {"0xFD", 0xFDU},
      {"0XfD", 0xFDU},
      {"253", 253U},
      {"0", 0U},
      {"0x0", 0U},
      {"0xFFFF", 0xFFFFU},
      {"65535", 0xFFFFU},
      {"0x10000", std::nullopt},
      {"65536", std::nullopt},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"0xZZ", std::nullopt},
      {"FD", std::nullopt},
      {"1e2", std::nullopt},
      {"4294967296", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadReloadText(c.text), c.value) << '"' << c.text << '"';
  }
}

// A look-up: the targets by name (none: the classic Timer 1), the page's
// status, each report's status, and the first report's first rate.
struct ReloadQuestion {
  const char* name;
  const char* crystal;
  std::uint32_t reload;
  std::vector<const char*> targets;
  const char* status;
  std::vector<const char*> reports;
  const char* firstRate;                 // classic: the achieved rate; targets: "numerator/denominator"
  const char* baud = "";                 // the rate compared with
  const char* firstDeviation = nullptr;  // its deviation text; nullptr: none written
};

void PrintTo(const ReloadQuestion& q, std::ostream* os) { *os << q.name; }

class ReloadAnswers : public testing::TestWithParam<ReloadQuestion> {};

TEST_P(ReloadAnswers, GiveTheEnginesRatesOrSayWhyNot) {
  const ReloadQuestion& q = GetParam();
  std::vector<const BaudTarget*> targets;
  for (const char* name : q.targets) {
    targets.push_back(FindBaudTarget(name));
    ASSERT_NE(targets.back(), nullptr) << name;
  }
  const ReloadAnswer answer = AnswerReload(q.crystal, q.reload, targets, q.baud);
  JsonWriter json(JsonFace::Page);
  json.BeginObject();
  WriteReloadAnswer(json, answer);
  json.EndObject();
  const nlohmann::json page = nlohmann::json::parse(json.Text());
  ASSERT_EQ(page.at("status"), q.status) << json.Text();
  if (q.reports.empty()) {
    EXPECT_FALSE(page.contains("reports"));
    return;
  }
  const nlohmann::json& reports = page.at("reports");
  ASSERT_EQ(reports.size(), q.reports.size());
  for (std::size_t index = 0; index < reports.size(); ++index) {
    EXPECT_EQ(reports[index].at("status"), q.reports[index]) << index;
  }
  const nlohmann::json& mode = reports[0].at("modes")[0];
  if (q.firstDeviation == nullptr) {
    EXPECT_FALSE(mode.contains("deviation")) << json.Text();
  } else {
    EXPECT_EQ(mode.at("deviationText"), q.firstDeviation);
  }
  if (targets.empty()) {
    EXPECT_EQ(std::to_string(mode.at("achieved").get<int>()), q.firstRate);
  } else {
    EXPECT_EQ(mode.at("achievedNumerator").get<std::string>() + "/" + mode.at("achievedDenominator").get<std::string>(),
              q.firstRate);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Questions, ReloadAnswers,
    testing::Values(
        ReloadQuestion{"ClassicTimer1", "11.0592mhz", 0xFD, {}, "ok", {"ok"}, "9600"},
        ReloadQuestion{"ClassicReloadZero", "12MHz", 0, {}, "ok", {"ok"}, "122"},
        ReloadQuestion{"ClassicAgainstARate", "11.0592MHz", 0xFD, {}, "ok", {"ok"}, "9600", "9700", "-1.03"},
        ReloadQuestion{"RateNotAboveZeroComparesWithNothing", "11.0592MHz", 0xFD, {}, "ok", {"ok"}, "9600", "-9600"},
        ReloadQuestion{"TargetAgainstARate", "12MHz", 0xF9, {"t1-12t"}, "ok", {"ok"}, "31250/7", "4800", "-6.99"},
        ReloadQuestion{"ClassicWiderThanTh1", "11.0592MHz", 0x100, {}, "tooWide", {}, ""},
        ReloadQuestion{"ClassicCrystalWithoutNumber", "MHz", 0xFD, {}, "noResult", {}, ""},
        ReloadQuestion{"ClassicCrystalBeyondInt32", "3000MHz", 0xFD, {}, "noResult", {}, ""},
        ReloadQuestion{"SixteenBitGenerator", "11.0592MHz", 0xFFE8, {"stc-t2-1t"}, "ok", {"ok"}, "115200/1"},
        ReloadQuestion{"EightBitTimerBothSmod", "12MHz", 0xF9, {"t1-12t"}, "ok", {"ok"}, "31250/7"},
        ReloadQuestion{"UartsGeneratorsOneTooNarrow",
                       "11.0592MHz",
                       0xFFE8,
                       {"stc-t2-1t", "stc-t1-1t"},
                       "ok",
                       {"ok", "tooWide"},
                       "115200/1"},
        ReloadQuestion{"CrystalTheExactReaderRefuses", "abc", 0xFD, {"t1-12t"}, "noResult", {}, ""},
        ReloadQuestion{
            "SixteenBitsOnACrystalTheExactReaderRefuses", "0MHz", 0xFFE8, {"stc-t2-1t"}, "noResult", {}, ""}),
    testing_support::CaseName());

// An assembly download: the target question and whether it has code; with
// code, a line the text holds (the best reload written in the syntax).
struct AsmQuestion {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;
  AsmSyntax syntax;
  const char* line;  // nullptr: no code, no text
};

void PrintTo(const AsmQuestion& q, std::ostream* os) { *os << q.name; }

class AsmAnswers : public testing::TestWithParam<AsmQuestion> {};

TEST_P(AsmAnswers, WriteTheBestSettingOrNothing) {
  const AsmQuestion& q = GetParam();
  const TargetInputs inputs = *ReadTargetInputs(q.crystal, q.baud);
  const TargetCodeStyle style;
  const TargetAnswer answer = AnswerTarget(inputs, FindBaudTargets(q.target), nullptr, style);
  const std::optional<std::string> text = AnswerAsm(answer, inputs, style, q.syntax);
  if (q.line == nullptr) {
    EXPECT_FALSE(text.has_value());
    return;
  }
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find(q.line), std::string::npos) << *text;
}

INSTANTIATE_TEST_SUITE_P(
    Questions, AsmAnswers,
    testing::Values(AsmQuestion{"A51", "11.0592MHz", "9600", "t1-12t", AsmSyntax::A51, "MOV\tTH1,#0FDH\r\n"},
                    AsmQuestion{"Sdas", "11.0592MHz", "9600", "t1-12t", AsmSyntax::Sdas, "MOV\tTH1,#0xFD\r\n"},
                    AsmQuestion{"FamilysBestGenerator", "22.1184MHz", "115200", "stc8", AsmSyntax::Sdas, "_SIO_Init:"},
                    AsmQuestion{"WarningWritesNoAssembly", "12MHz", "19200", "t1-12t", AsmSyntax::A51, nullptr},
                    AsmQuestion{"OutOfRangeWritesNoAssembly", "11.0592MHz", "10", "t1-12t", AsmSyntax::Sdas, nullptr}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::answers
