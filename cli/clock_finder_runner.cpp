#include "cli/clock_finder_runner.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "cli/clock_report.h"
#include "cli/command_runner.h"
#include "cli/mode_options.h"
#include "cli/run_output.h"
#include "cli/uart_requests.h"
#include "cli/utf8_text.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// The crystal presets in whole hertz: the common frequencies the ranking
// prefers.
std::vector<std::uint64_t> PresetHertz() {
  std::vector<std::uint64_t> hertz;
  for (const std::string_view preset : CrystalPresets()) {
    const auto frequency = ReadExactCrystal(preset);
    if (frequency && frequency->denominator == 1) {
      hertz.push_back(frequency->numerator);
    }
  }
  return hertz;
}

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

int WriteResult(const CommandLineOptions& options, const ClockQuestion& question, const ClockFinderResult& result,
                std::ostream& out, std::ostream& err) {
  const Language language = options.language;
  if (result.status == ClockFinderStatus::SearchTooWide) {
    const auto message = text::GbkToUtf8(ClockNoResultText(question, result));
    return ReportUsageError(err, language, message ? *message : Utf8Text(language, TextKey::ClockNotUtf8));
  }
  if (options.json) {
    auto json = MakeClockJson(question, result);
    if (!json) {
      return ReportFailure(err, Utf8Text(language, TextKey::ClockNotUtf8), kExitWriteFailure);
    }
    if (options.targetPart) {
      (*json)["part"] = *options.targetPart;  // "target" holds its family
    }
    const int status = Write(out, err, language, json->dump(2) + '\n');
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
  const bool plan = options.rates.empty();
  const std::vector<const BaudTarget*> chip = ChipTargets(*options.target);
  std::vector<const BaudTarget*> targets = FindBaudTargets(*options.target);
  std::optional<std::string> uart;
  if (!plan && !options.uarts.empty()) {
    uart = options.uarts.front().uart;
    targets = TargetsOfUart(chip, *uart);
  }
  std::vector<UartRequest> requests;
  if (plan) {
    std::transform(options.uarts.begin(), options.uarts.end(), std::back_inserter(requests),
                   [](const UartChoice& choice) {
                     return UartRequest{choice.uart, *choice.baud, std::to_string(*choice.baud)};
                   });
  }

  ClockQuestion question;
  question.language = options.language;
  question.targetName = *options.target;
  question.uart = uart;
  question.rates = options.rates;
  question.requests = requests;
  question.tolerancePercent = options.maxErrorPercent.value_or(1.0);
  question.limit = options.clockLimit;
  if (options.clockRange) {
    question.span.low = options.clockRange->low;
    question.span.high = options.clockRange->high;
  } else if (const auto steps = SharedClockSteps(plan ? std::span<const BaudTarget* const>(chip) : targets)) {
    question.span.steps = *steps;
  } else {
    return ReportUsageError(err, options.language,
                            Utf8Text(options.language, TextKey::ClockNeedsRange,
                                     {{"target", *options.target}, {"families", FamiliesWithSteps()}}));
  }

  ClockFinderOptions finderOptions;
  finderOptions.tolerancePercent = question.tolerancePercent;
  finderOptions.limit = question.limit;
  finderOptions.commonClocks = PresetHertz();
  const ClockFinderResult result = plan ? FindClocksForPlan(chip, requests, question.span, finderOptions)
                                        : FindClocksForRates(targets, options.rates, question.span, finderOptions);
  return WriteResult(options, question, result, out, err);
}

}  // namespace tesmirol::cli
