#include "cli/target_runner.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <span>
#include <string>

#include "answers/chip_choice.h"
#include "answers/target_answer.h"
#include "answers/target_json.h"
#include "cli/build_check.h"
#include "cli/command_runner.h"
#include "cli/link_report.h"
#include "cli/link_runs.h"
#include "cli/run_output.h"
#include "cli/target_report.h"
#include "cli/utf8_text.h"
#include "codegen/target_asm_code.h"
#include "engine/deviation_text.h"
#include "engine/serial_frame.h"
#include "engine/target_catalogue.h"
#include "engine/target_texts.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace tesmirol::cli {
namespace {

// The words of a failed check of the best setting (answers::CheckTargetCode).
std::string TargetCheckText(answers::TargetCodeCheck check, const FamilySolution& family, double limit,
                            Language language) {
  const TargetSolution* best = family.Chosen();
  switch (check) {
    case answers::TargetCodeCheck::TooLow:
    case answers::TargetCodeCheck::TooHigh:
      return Utf8Text(language,
                      check == answers::TargetCodeCheck::TooLow ? TextKey::CheckNoCodeBelow : TextKey::CheckNoCodeAbove,
                      {{"target", family.solutions.size() > 1 ? Utf8Text(language, TextKey::CheckEveryTargetOfFamily)
                                                              : family.solutions.front().target->name}});
    case answers::TargetCodeCheck::BeyondLimit:
      return Utf8Text(language, TextKey::CheckTargetBeyondLimit,
                      {{"target", best->target->name},
                       {"smod", std::to_string(best->best.smod)},
                       {"deviation", FormatDeviation(best->best.deviation)},
                       {"limit", PercentText(limit)}});
    case answers::TargetCodeCheck::NoCode:
    case answers::TargetCodeCheck::Passes:
      break;
  }
  return Utf8Text(language, TextKey::CheckNoCodeBest,
                  {{"target", best->target->name},
                   {"smod", std::to_string(best->best.smod)},
                   {"deviation", FormatDeviation(best->best.deviation)}});
}

// Why there is no code for the best setting (none in range, or beyond 1 %).
std::string NoTargetCodeReason(const FamilySolution& family, Language language) {
  return TargetCheckText(answers::NoTargetCodeReason(family), family, kCodeTolerancePercent, language);
}

int WriteTargetReport(const CommandLineOptions& options, const FamilySolution& family, const TargetInputs& inputs,
                      const TargetCode& code, const std::optional<LinkOutcome>& link, std::ostream& out,
                      std::ostream& err) {
  if (options.json) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    json.BeginObject();
    if (!answers::WriteTargetMembers(json, *options.target, family, inputs, code)) {
      return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
    }
    if (FrameUartModeOf(options.frame) == FrameUartMode::Mode3) {
      json.Key("frame");
      json.String(SerialFrameName(options.frame));  // the code's; absent for 8N1
    }
    if (options.targetPart) {
      json.StringMember("part", *options.targetPart);  // "target" holds its family
    }
    if (link && !WriteLinkMember(json, *options.link, *link)) {
      return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
    }
    json.EndObject();
    return Write(out, err, options.language, answers::PrettyJson(json.Text()) + '\n');
  }
  std::string gbk = FormatTargetReport(family, inputs, code, options.language);
  if (link) {
    gbk = InsertLinkLines(std::move(gbk), code.text, LinkReportLines(*options.link, *link, options.language));
  }
  const auto report = text::GbkToUtf8(gbk);
  if (!report) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, options.language, *report);
}

}  // namespace

int RunTargetCalculation(const CommandLineOptions& options, const InputText& crystal, const InputText& baud,
                         std::ostream& out, std::ostream& err) {
  const auto inputs = ReadTargetInputs(crystal.gbk, baud.gbk);
  if (!inputs) {
    if (options.json && !options.maxErrorPercent && options.action == CommandAction::Report) {
      return WriteJsonNull(out, err, options.language);
    }
    const int status = options.maxErrorPercent ? kExitCheckFailed : kExitNoResult;
    return ReportNoResult(err, options.language, TargetNoResultReason(crystal.gbk, baud.gbk, options.language), status);
  }
  const std::optional<answers::LinkAsk> ask =
      options.link ? std::optional<answers::LinkAsk>(LinkAskOf(*options.link)) : std::nullopt;
  const answers::TargetCodeStyle style{options.uartMode, options.frame, CodeLanguage(options), CodeTolerance(options)};
  const answers::TargetAnswer answer =
      answers::AnswerTarget(*inputs, answers::TargetsOfFirstUart(*options.target), ask ? &*ask : nullptr, style);
  const FamilySolution& family = answer.family;
  if (options.maxErrorPercent) {
    const double limit = *options.maxErrorPercent;
    if (const answers::TargetCodeCheck check = answers::CheckTargetCode(family, limit);
        check != answers::TargetCodeCheck::Passes) {
      return ReportFailure(err,
                           Utf8Text(options.language, TextKey::CheckInputsFailure,
                                    {{"crystal", crystal.utf8},
                                     {"baud", baud.utf8},
                                     {"reason", TargetCheckText(check, family, limit, options.language)}}),
                           kExitCheckFailed);
    }
  }
  const std::optional<LinkOutcome>& link = answer.link;
  if (options.link) {
    if (options.link->requireLink) {
      if (const auto failure = FirstLinkFailure(*options.link, {&*link, 1}, options.language)) {
        return ReportFailure(err,
                             Utf8Text(options.language, TextKey::CheckInputsFailure,
                                      {{"crystal", crystal.utf8}, {"baud", baud.utf8}, {"reason", *failure}}),
                             kExitCheckFailed);
      }
    }
  }
  if (options.action == CommandAction::Check) {
    return kExitDone;
  }
  const TargetCode& code = answer.code;
  if (options.action == CommandAction::Code) {
    if (code.outcome != GenerationOutcome::Code) {
      return ReportFailure(err, NoTargetCodeReason(family, options.language), kExitNoResult);
    }
    if (options.asmSyntax) {
      return DeliverCode(options, *answers::AnswerAsm(answer, *inputs, style, *options.asmSyntax), out, err);
    }
    const TargetCodeRequest request = *answers::BestCodeRequest(answer, *inputs, style);
    if (options.driver) {
      return DeliverDriver(options, std::span<const TargetCodeRequest>(&request, 1), out, err);
    }
    return DeliverCode(options, code.text, out, err);
  }
  return WriteTargetReport(options, family, *inputs, code, link, out, err);
}

}  // namespace tesmirol::cli
