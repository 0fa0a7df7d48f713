#include "cli/plan_runner.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "answers/json_writer.h"
#include "answers/plan_answer.h"
#include "answers/plan_json.h"
#include "cli/command_runner.h"
#include "cli/link_report.h"
#include "cli/link_runs.h"
#include "cli/plan_report.h"
#include "cli/plan_texts.h"
#include "cli/run_output.h"
#include "cli/uart_requests.h"
#include "cli/utf8_text.h"
#include "codegen/target_asm_code.h"
#include "codegen/uart_plan_code.h"
#include "engine/deviation_text.h"
#include "engine/serial_frame.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// Why a plan has no code: a UART beyond the code's tolerance.
std::string NoPlanCodeReason(const UartPlan& plan, double codeTolerance, Language language) {
  const PlannedUart* beyond = answers::FirstUartBeyond(plan, codeTolerance);
  if (beyond == nullptr) {
    return Utf8Text(language, TextKey::CheckNoCodePlan);
  }
  return Utf8Text(language, TextKey::CheckNoCodePlanUart,
                  {{"uart", beyond->request.uart},
                   {"target", beyond->target->name},
                   {"clock", ClockChoiceText(*beyond->target, beyond->setting.clockIndex)},
                   {"smod", std::to_string(beyond->setting.smod)},
                   {"deviation", FormatDeviation(beyond->setting.deviation)}});
}

// The plan's report as JSON: answers' plan document with the code's frame,
// the part number --target named ("target" holds its family) and, with
// --peer, each planned UART's other end and link (null for a UART without
// one).
int WritePlanJson(const CommandLineOptions& options, const PlanQuestion& question, const PlanResult& result,
                  std::string_view conflictMessage, const GeneratedInitCode& code, std::span<const LinkOutcome> links,
                  std::ostream& out, std::ostream& err) {
  std::vector<answers::PlanUartLink> uartLinks;
  if (options.link && result.plan) {
    for (const PlannedUart& planned : result.plan->uarts) {
      answers::PlanUartLink& entry = uartLinks.emplace_back();
      if (const LinkOutcome* link = LinkOfUart(links, planned.request.uart)) {
        entry.question.asked = true;
        entry.question.ask = LinkAskOf(RequestForUart(*options.link, planned.request.uart));
        entry.link.link = *link;
      }
    }
  }
  answers::JsonWriter json(answers::JsonFace::CommandLine);
  json.BeginObject();
  const bool written = answers::WritePlanMembers(
      json, {.target = question.chipName,
             .part = options.targetPart ? std::string_view(*options.targetPart) : std::string_view(),
             .crystal = question.crystal,
             .requests = question.requests,
             .tolerancePercent = question.tolerancePercent,
             .result = &result,
             .conflictMessage = conflictMessage,
             .code = &code,
             .frame = options.frame,
             .links = uartLinks});
  json.EndObject();
  if (!written) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, options.language, answers::PrettyJson(json.Text()) + '\n');
}

int WritePlanReport(const CommandLineOptions& options, const PlanQuestion& question, const PlanResult& result,
                    const GeneratedInitCode& code, std::span<const LinkOutcome> links, std::ostream& out,
                    std::ostream& err) {
  if (options.json) {
    return WritePlanJson(options, question, result, "", code, links, out, err);
  }
  std::string gbk = FormatPlanReport(question, *result.plan, code, options.language);
  if (options.link) {
    std::string lines;
    for (const LinkOutcome& link : links) {
      lines += LinkReportLines(RequestForUart(*options.link, link.uart), link, options.language);
    }
    gbk = InsertLinkLines(std::move(gbk), code.text, lines);
  }
  const auto report = text::GbkToUtf8(gbk);
  if (!report) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, options.language, *report);
}

}  // namespace

int RunPlanCalculation(const CommandLineOptions& options, const InputText& crystal, const InputText& baud,
                       std::ostream& out, std::ostream& err) {
  const auto atBaud = ReadTargetInputs(crystal.gbk, baud.gbk);
  if (!atBaud) {
    if (options.json && !options.maxErrorPercent && options.action == CommandAction::Report) {
      return WriteJsonNull(out, err, options.language);
    }
    const int status = options.maxErrorPercent ? kExitCheckFailed : kExitNoResult;
    return ReportNoResult(err, options.language, TargetNoResultReason(crystal.gbk, baud.gbk, options.language), status);
  }
  const std::vector<const BaudTarget*> chip = ChipTargets(*options.target);
  const std::vector<UartRequest> requests = MakeUartRequests(options.uarts, *atBaud);
  const double tolerance = options.maxErrorPercent.value_or(1.0);
  // Each UART's link: its own peer, or the one of every UART.
  std::vector<answers::UartLinkAsk> asks;
  asks.reserve(options.uarts.size());
  for (const UartChoice& choice : options.uarts) {
    if (options.link && PeerOfUart(*options.link, choice.uart) != nullptr) {
      asks.push_back({choice.uart, LinkAskOf(RequestForUart(*options.link, choice.uart))});
    }
  }
  const double codeTolerance = CodeTolerance(options);
  const answers::PlanAnswer answer =
      answers::AnswerPlan(chip, *atBaud, requests, tolerance,
                          {options.uartMode, options.frame, CodeLanguage(options), codeTolerance}, asks);
  const PlanResult& result = answer.result;
  const PlanQuestion question{*options.target, &*atBaud, requests, tolerance};

  if (!result.plan) {
    const PlanConflict conflict = result.conflict.value_or(PlanConflict{});
    if (options.json && !options.maxErrorPercent && options.action == CommandAction::Report) {
      // The JSON's message is the same in every language: English, ASCII.
      const std::string message =
          PlanConflictText(conflict, requests, chip, *options.target, *atBaud, tolerance, Language::English);
      const int status = WritePlanJson(options, question, result, message, GeneratedInitCode{}, {}, out, err);
      if (status != kExitDone) {
        return status;
      }
    }
    const std::string message =
        PlanConflictText(conflict, requests, chip, *options.target, *atBaud, tolerance, options.language);
    return ReportFailure(err,
                         Utf8Text(options.language, TextKey::PlanNoPlan,
                                  {{"crystal", crystal.utf8}, {"reason", text::GbkToUtf8(message).value_or(message)}}),
                         kExitCheckFailed);
  }
  const GeneratedInitCode& code = answer.code;
  if (options.maxErrorPercent && code.outcome != GenerationOutcome::Code) {
    return ReportFailure(err,
                         Utf8Text(options.language, TextKey::CheckCrystalFailure,
                                  {{"crystal", crystal.utf8},
                                   {"reason", NoPlanCodeReason(*result.plan, codeTolerance, options.language)}}),
                         kExitCheckFailed);
  }
  std::vector<LinkOutcome> links;
  for (const std::optional<LinkOutcome>& link : answer.links) {
    if (link) {
      links.push_back(*link);
    }
  }
  if (options.link && options.link->requireLink) {
    if (const auto failure = FirstLinkFailure(*options.link, links, options.language)) {
      return ReportFailure(
          err,
          Utf8Text(options.language, TextKey::CheckCrystalFailure, {{"crystal", crystal.utf8}, {"reason", *failure}}),
          kExitCheckFailed);
    }
  }
  if (options.action == CommandAction::Check) {
    return kExitDone;
  }
  const std::vector<TargetCodeRequest>& codeRequests = answer.requests;
  if (options.action == CommandAction::Code) {
    if (code.outcome != GenerationOutcome::Code) {
      return ReportFailure(err, NoPlanCodeReason(*result.plan, codeTolerance, options.language), kExitNoResult);
    }
    if (options.asmSyntax) {
      return DeliverCode(options, GenerateAsmDriver(codeRequests, *options.asmSyntax, CodeLanguage(options)), out, err);
    }
    if (options.driver) {
      return DeliverDriver(options, codeRequests, out, err);
    }
    return DeliverCode(options, code.text, out, err);
  }
  return WritePlanReport(options, question, result, code, links, out, err);
}

}  // namespace tesmirol::cli
