// One table of questions per answer kind, each answer held to the engine's
// and the generator's own results for the same texts.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "answers/classic_answer.h"
#include "answers/plan_answer.h"
#include "answers/target_answer.h"
#include "codegen/uart_plan_code.h"
#include "engine/target_catalogue.h"

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

struct Question {
  const char* name;
  const char* crystal;
  const char* baud;
  const char* target;  // classic questions: ""
  const char* peer;    // "": no link
  bool code;           // the answer writes code (not the warning, not nothing)
};

void PrintTo(const Question& q, std::ostream* os) { *os << q.name; }

std::optional<LinkAsk> AskOf(const Question& q) {
  if (*q.peer == '\0') {
    return std::nullopt;
  }
  return LinkAsk{ReadPeer(q.peer).peer, kDefaultCrystalTolerance, SerialFrame{}};
}

class ClassicAnswers : public testing::TestWithParam<Question> {};

TEST_P(ClassicAnswers, HoldTheEnginesCalculationAndTheCodeWithItsNote) {
  const Question& q = GetParam();
  const std::optional<LinkAsk> ask = AskOf(q);
  const ClassicAnswer answer = AnswerClassic(q.crystal, q.baud, ask ? &*ask : nullptr, Language::English);
  const std::optional<BaudCalculation> expected = CalculateBaud(q.crystal, q.baud);
  ASSERT_EQ(answer.calculation.has_value(), expected.has_value());
  if (!expected) {
    EXPECT_EQ(answer.code.outcome, GenerationOutcome::Nothing);
    return;
  }
  EXPECT_EQ(answer.calculation->mode.at(0).reload, expected->mode.at(0).reload);
  EXPECT_EQ(answer.calculation->mode.at(1).reload, expected->mode.at(1).reload);
  EXPECT_EQ(answer.link.has_value(), ask.has_value());
  const std::vector<std::string> notes =
      ask ? LinkCodeNotes(ask->peer, CheckLinkAt(*ask, ClassicOwnRate(*expected), expected->baud), Language::English)
          : std::vector<std::string>();
  EXPECT_EQ(answer.code.text, GenerateInitCode(*expected, Language::English, notes).text);
  EXPECT_EQ(answer.code.outcome == GenerationOutcome::Code, q.code);
}

INSTANTIATE_TEST_SUITE_P(Questions, ClassicAnswers,
                         testing::Values(Question{"Code", "11.0592MHz", "9600", "", "", true},
                                         Question{"CodeWithLinkNote", "22.1184MHz", "115200", "", "ch340", true},
                                         Question{"Warning", "12MHz", "19200", "", "", false},
                                         Question{"NoExactRateStillWritesCode", "11.0592000000000000001MHz", "9600", "",
                                                  "ideal", true},
                                         Question{"NoResult", "fast", "9600", "", "ideal", false}),
                         testing_support::CaseName());

class TargetAnswers : public testing::TestWithParam<Question> {};

TEST_P(TargetAnswers, HoldTheSolversBestAndTheCodeOfIt) {
  const Question& q = GetParam();
  const std::optional<LinkAsk> ask = AskOf(q);
  const TargetInputs inputs = *ReadTargetInputs(q.crystal, q.baud);
  const std::vector<const BaudTarget*> targets = FindBaudTargets(q.target);
  const TargetCodeStyle style{UartMode::Mode1, SerialFrame{}, Language::English, kCodeTolerancePercent};
  const TargetAnswer answer = AnswerTarget(inputs, targets, ask ? &*ask : nullptr, style);
  const FamilySolution expected = SolveTargets(targets, inputs);
  ASSERT_EQ(answer.family.best, expected.best);
  const TargetSolution* best = expected.best ? &expected.solutions.at(*expected.best) : nullptr;
  ASSERT_EQ(answer.Best() != nullptr, best != nullptr);
  if (best != nullptr) {
    EXPECT_EQ(answer.Best()->target, best->target);
    EXPECT_EQ(answer.Best()->best.reload, best->best.reload);
  }
  EXPECT_EQ(answer.link.has_value(), ask.has_value());
  const bool verdict = answer.link && AnswerVerdict(*answer.link).has_value();
  EXPECT_EQ(answer.notes.size(), verdict ? 1U : 0U) << "a link with a verdict gives the code one note line";
  EXPECT_EQ(answer.code.text, GenerateTargetCode(best, inputs, UartMode::Mode1, Language::English, answer.notes).text);
  EXPECT_EQ(answer.code.outcome == GenerationOutcome::Code, q.code);
  const std::optional<TargetCodeRequest> request = BestCodeRequest(answer, inputs, style);
  ASSERT_EQ(request.has_value(), best != nullptr) << "the driver's request exists with a best setting";
  if (request) {
    EXPECT_EQ(request->notes, answer.notes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Questions, TargetAnswers,
    testing::Values(Question{"Family", "24MHz", "115200", "stc8", "", true},
                    Question{"FamilyWithSecond8051", "11.0592MHz", "9600", "stc8", "stc15@22.1184MHz", true},
                    Question{"OneTargetWithAdapter", "22.1184MHz", "115200", "stc-t2-1t", "cp2102", true},
                    Question{"OutOfRange", "11.0592MHz", "3000000", "stc-t2-1t", "ideal", false}),
    testing_support::CaseName());

// A plan of two UARTs of an STC8, the second UART's link asked about.
struct PlanQuestionCase {
  const char* name;
  const char* crystal;
  std::int32_t firstBaud;
  std::int32_t secondBaud;
  const char* secondPeer;  // "": no link
  bool planned;
};

void PrintTo(const PlanQuestionCase& q, std::ostream* os) { *os << q.name; }

class PlanAnswers : public testing::TestWithParam<PlanQuestionCase> {};

TEST_P(PlanAnswers, HoldThePlannersPlanAndEachUartsNote) {
  const PlanQuestionCase& q = GetParam();
  const TargetInputs crystal = *ReadTargetInputs(q.crystal, "1");
  const std::vector<UartRequest> requests = {{"UART1", q.firstBaud, std::to_string(q.firstBaud)},
                                             {"UART2", q.secondBaud, std::to_string(q.secondBaud)}};
  const std::vector<const BaudTarget*> chip = FindFamilyTargets("stc8");
  std::optional<LinkAsk> ask;
  if (*q.secondPeer != '\0') {
    ask = LinkAsk{ReadPeer(q.secondPeer).peer, kDefaultCrystalTolerance, SerialFrame{}};
  }
  const TargetCodeStyle style{UartMode::Mode1, SerialFrame{}, Language::English, kCodeTolerancePercent};
  const PlanAnswer answer = AnswerPlan(chip, crystal, requests, 1.0, style, [&ask](std::string_view uart) {
    return uart == "UART2" && ask ? &*ask : nullptr;
  });
  const PlanResult expected = PlanUarts(chip, crystal, requests, 1.0);
  ASSERT_EQ(answer.result.plan.has_value(), q.planned);
  ASSERT_EQ(expected.plan.has_value(), q.planned);
  if (!q.planned) {
    EXPECT_TRUE(answer.links.empty());
    EXPECT_EQ(answer.code.outcome, GenerationOutcome::Nothing);
    return;
  }
  ASSERT_EQ(answer.links.size(), expected.plan->uarts.size());
  for (std::size_t index = 0; index < answer.links.size(); ++index) {
    const bool asked = ask && expected.plan->uarts[index].request.uart == "UART2";
    EXPECT_EQ(answer.links[index].has_value(), asked) << index;
    EXPECT_EQ(answer.requests.at(index).notes.size(), asked ? 1U : 0U) << index;
    EXPECT_EQ(answer.requests.at(index).setting.reload, expected.plan->uarts[index].setting.reload) << index;
  }
  EXPECT_EQ(answer.code.text, GeneratePlanInitCode(answer.requests, Language::English))
      << "each UART's function carries its own note";
}

INSTANTIATE_TEST_SUITE_P(Questions, PlanAnswers,
                         testing::Values(PlanQuestionCase{"TwoRates", "24MHz", 115200, 9600, "", true},
                                         PlanQuestionCase{"SecondUartLinked", "24MHz", 115200, 9600, "cp2102", true},
                                         PlanQuestionCase{"NoPlan", "24MHz", 115200, 10000000, "ch340", false}),
                         testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::answers
