#include "cli/clock_finder_runner.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "answers/clock_finder_answer.h"
#include "answers/clock_finder_json.h"
#include "answers/json_writer.h"
#include "cli/clock_report.h"
#include "cli/command_runner.h"
#include "cli/mode_options.h"
#include "cli/run_output.h"
#include "cli/utf8_text.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

std::string FamiliesWithSteps() {
  std::vector<std::string> families;
  for (const BaudTarget& target : BaudTargets()) {
    if (!target.clockSteps.empty()) {
      for (const std::string& family : target.families) {
        if (std::find(families.begin(), families.end(), family) == families.end()) {
          families.push_back(family);
        }
      }
    }
  }
  return JoinNames(families);
}

int ReportGbk(std::ostream& err, Language language, const std::string& gbk, int status) {
  const auto message = text::GbkToUtf8(gbk);
  return ReportFailure(err, message ? *message : Utf8Text(language, TextKey::ClockNotUtf8), status);
}

int WriteResult(const CommandLineOptions& options, const answers::ClockAsk& ask, const answers::ClockAnswer& answer,
                std::ostream& out, std::ostream& err) {
  const Language language = options.language;
  const ClockFinderResult& result = answer.result;
  ClockQuestion question;
  question.language = language;
  question.targetName = ask.targetName;
  question.uart = ask.uart;
  question.rates = ask.rates;
  question.requests = ask.requests;
  question.span = answer.span;
  question.tolerancePercent = ask.tolerancePercent;
  question.limit = ask.limit;
  if (result.status == ClockFinderStatus::SearchTooWide) {
    const auto message = text::GbkToUtf8(ClockNoResultText(question, result));
    return ReportUsageError(err, language, message ? *message : Utf8Text(language, TextKey::ClockNotUtf8));
  }
  if (options.json) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    json.BeginObject();
    answers::WriteClockMembers(json, ask, answer);
    if (options.targetPart) {
      json.StringMember("part", *options.targetPart);  // "target" holds its family
    }
    json.EndObject();
    const int status = Write(out, err, language, answers::PrettyJson(json.Text()) + '\n');
    if (status != kExitDone || result.status == ClockFinderStatus::Found) {
      return status;
    }
    return ReportGbk(err, language, ClockNoResultText(question, result), kExitNoResult);
  }
  if (result.status != ClockFinderStatus::Found) {
    return ReportGbk(err, language, ClockNoResultText(question, result), kExitNoResult);
  }
  const auto report = text::GbkToUtf8(FormatClockReport(question, result));
  if (!report) {
    return ReportFailure(err, Utf8Text(language, TextKey::ClockNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, language, *report);
}

}  // namespace

int RunClockFinder(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  answers::ClockAsk ask;
  ask.targetName = *options.target;
  ask.rates = options.rates;
  if (!ask.rates.empty() && !options.uarts.empty()) {
    ask.uart = options.uarts.front().uart;
  }
  if (ask.rates.empty()) {
    std::transform(options.uarts.begin(), options.uarts.end(), std::back_inserter(ask.requests),
                   [](const UartChoice& choice) {
                     return UartRequest{choice.uart, *choice.baud, std::to_string(*choice.baud)};
                   });
  }
  if (options.clockRange) {
    ask.range = answers::ClockBounds{options.clockRange->low, options.clockRange->high};
  }
  ask.tolerancePercent = options.maxErrorPercent.value_or(1.0);
  ask.limit = options.clockLimit;
  const answers::ClockAnswer answer = answers::AnswerClocks(ask);
  if (answer.needsRange) {
    return ReportUsageError(err, options.language,
                            Utf8Text(options.language, TextKey::ClockNeedsRange,
                                     {{"target", *options.target}, {"families", FamiliesWithSteps()}}));
  }
  return WriteResult(options, ask, answer, out, err);
}

}  // namespace tesmirol::cli
