#pragma once
// Several UARTs of one chip planned together, as the page asks: the
// crystal, the chip and each UART with its rate and its own other end read
// into the planner's requests (or the problem with them), then planned by
// AnswerPlan with each UART's link, and written as the page's JSON.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers/chip_choice.h"
#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/plan_answer.h"
#include "engine/language.h"
#include "engine/uart_planner.h"

namespace tesmirol::answers {

// One UART of the plan, the rate wanted of it and its own other end, as
// the user gave them (GBK).
struct PlanRequestTexts {
  GbkText uart;  // "UART2", "uart2" or "2"
  GbkText baud;
  bool ownPeer = false;  // the UART names its own other end, else the link's is its
  GbkText peer;
};

struct PlanTexts {
  GbkText crystal;
  GbkText target;  // a chip family, or one target
  std::vector<PlanRequestTexts> requests;
};

// The texts read: the chip's targets, the crystal and the requests, or the
// problem "unknownTarget", "frameNotCarried" (the link's frame, which the
// chip's code cannot set), "crystalNotGbk", "noResult" (the crystal does not
// read), or for one request (problemRequest) "unknownUart", "uartTwice",
// "baudNotGbk" or "rateNoResult".
struct PlanQuestion {
  std::string_view problem;  // empty when everything was read
  std::optional<std::size_t> problemRequest;
  std::string target;  // the chip as named (GBK)
  ChipChoice choice;
  std::optional<TargetInputs> crystal;
  std::vector<UartRequest> requests;
  std::vector<LinkQuestion> links;  // by request
};

PlanQuestion ReadPlanQuestion(const PlanTexts& texts, const LinkTexts& link);

// Every UART of a plan within the dialog's tolerance, the one its code is
// written for.
inline constexpr double kPlanTolerancePercent = 1.0;
// The same as the user would write it, for the conflict's words.
inline constexpr std::string_view kPlanToleranceText = "1";

struct PlanQuestionAnswer {
  PlanQuestion question;
  std::optional<PlanAnswer> answer;  // when the question read
};

// Plans the requests; the code carries the frame of the first UART whose
// link is asked about and reads (every UART's link has the same frame).
PlanQuestionAnswer AnswerPlanQuestion(PlanQuestion question, Language language);

// {"status": "ok", then the plan's document as the command line writes it
// (WritePlanMembers: target, the crystal, tolerance, uarts, plan with each
// UART's peer and link, conflict, outcome, output, frame)}; or {"status":
// the problem, "request"}.
void WritePlanQuestion(JsonWriter& json, const PlanQuestionAnswer& answer);

}  // namespace tesmirol::answers
