#include "cli/clock_report.h"

#include <algorithm>
#include <iterator>

#include "cli/build_check.h"
#include "cli/target_report.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "engine/texts.h"

namespace tesmirol::cli {
namespace {

// "UART crystal", "crystal preset", "whole MHz": the kind of a common clock.
std::string CommonKindText(Language language, CommonClockKind kind) {
  switch (kind) {
    case CommonClockKind::Listed:
      return std::string(Text(language, TextKey::ClockCommonListed));
    case CommonClockKind::UartCrystal:
      return std::string(Text(language, TextKey::ClockCommonUartCrystal));
    case CommonClockKind::WholeMegahertz:
      break;
  }
  return std::string(Text(language, TextKey::ClockCommonWholeMegahertz));
}

// "9600 115200 bps" or "UART1 115200bps, UART2 9600bps".
std::string RatesText(const ClockQuestion& question) {
  std::string text;
  if (question.requests.empty()) {
    for (const std::int32_t rate : question.rates) {
      text += text.empty() ? "" : " ";
      text += std::to_string(rate);
    }
    return text + " bps";
  }
  for (const UartRequest& request : question.requests) {
    text += text.empty() ? "" : ", ";
    text += request.uart;
    text += ' ';
    text += request.baudText;
    text += "bps";
  }
  return text;
}

// Where the finder looked: "4MHz..35MHz" or "the clock steps 187.5KHz 750KHz ...".
std::string SpanText(Language language, const ClockSpan& span) {
  if (span.steps.empty()) {
    return ClockText(span.low) + ".." + ClockText(span.high);
  }
  std::string steps;
  for (const std::uint64_t step : span.steps) {
    steps += steps.empty() ? "" : " ";
    steps += ClockText(step);
  }
  return FormatText(language, TextKey::ClockSteps, {{"steps", steps}});
}

// The heads of the rows under a clock padded to one width.
std::vector<std::string> PaddedHeads(std::vector<std::string> heads) {
  std::size_t width = 0;
  for (const std::string& head : heads) {
    width = std::max(width, head.size());
  }
  for (std::string& head : heads) {
    head.append(width - head.size() + 2, ' ');
  }
  return heads;
}

// "stc-t2-1t  Timer 2  1T  SMOD=0  T2H = 0xFF, T2L = 0xDC  实际：9600bps  偏差：0.00%".
std::string SettingLine(Language language, const BaudTarget& target, const TargetSetting& setting) {
  return target.name + "  " + TimerText(target.timer, language) + "  " + ClockChoiceText(target, setting.clockIndex) +
         "  SMOD=" + std::to_string(setting.smod) + "  " + RegisterBytesText(target, setting) + "  " +
         AchievedRateText(setting, language);
}

std::string ClockLines(Language language, const ClockCandidate& clock) {
  std::string lines = ClockText(clock.hertz) + "  " + std::to_string(clock.hertz) + " Hz  ";
  lines += clock.exact
               ? std::string(Text(language, TextKey::ClockExact))
               : FormatText(language, TextKey::ClockWorst, {{"deviation", FormatDeviation(clock.worstDeviation)}});
  lines += "  ";
  const std::string kind = CommonKindText(language, clock.commonKind);
  if (clock.commonDistance == 0) {
    lines += FormatText(language, TextKey::ClockIsCommon, {{"kind", kind}});
  } else {
    lines += FormatText(
        language, TextKey::ClockFromCommon,
        {{"distance", std::to_string(clock.commonDistance)}, {"kind", kind}, {"clock", ClockText(clock.commonHertz)}});
  }
  lines += '\n';
  if (clock.plan) {
    const std::vector<PlannedUart>& uarts = clock.plan->uarts;
    std::vector<std::string> heads(uarts.size());
    std::transform(uarts.begin(), uarts.end(), heads.begin(), [](const PlannedUart& planned) {
      return planned.request.uart + "  " + planned.request.baudText + "bps";
    });
    heads = PaddedHeads(std::move(heads));
    for (std::size_t index = 0; index < uarts.size(); ++index) {
      lines += "    " + heads[index] + SettingLine(language, *uarts[index].target, uarts[index].setting) + "\n";
    }
    return lines;
  }
  std::vector<std::string> heads(clock.rates.size());
  std::transform(clock.rates.begin(), clock.rates.end(), heads.begin(),
                 [](const ClockRateSetting& rate) { return std::to_string(rate.baud) + "bps"; });
  heads = PaddedHeads(std::move(heads));
  for (std::size_t index = 0; index < clock.rates.size(); ++index) {
    lines +=
        "    " + heads[index] + SettingLine(language, *clock.rates[index].target, clock.rates[index].setting) + "\n";
  }
  return lines;
}

}  // namespace

std::string FormatClockReport(const ClockQuestion& question, const ClockFinderResult& result) {
  const Language language = question.language;
  std::string report = FormatText(language, TextKey::ClockHead,
                                  {{"target", question.targetName + (question.uart ? " " + *question.uart : "")},
                                   {"rates", RatesText(question)},
                                   {"span", SpanText(language, question.span)},
                                   {"tolerance", PercentText(question.tolerancePercent)},
                                   {"exact", std::to_string(result.exactCount)}});
  report += '\n';
  for (const ClockCandidate& clock : result.clocks) {
    report += ClockLines(language, clock);
  }
  if (result.nearSkipped) {
    report += Text(language, TextKey::ClockNearSkipped);
    report += '\n';
  }
  return report;
}

std::string ClockNoResultText(const ClockQuestion& question, const ClockFinderResult& result) {
  const Language language = question.language;
  const std::string span = SpanText(language, question.span);
  const std::string tolerance = PercentText(question.tolerancePercent);
  switch (result.status) {
    case ClockFinderStatus::RateOutOfReach: {
      const std::size_t index = result.rateIndex.value_or(0);
      const std::string rate = question.requests.empty()
                                   ? std::to_string(question.rates[index])
                                   : question.requests[index].uart + " " + question.requests[index].baudText;
      return FormatText(language, TextKey::ClockNoClockRate,
                        {{"span", span}, {"rate", rate}, {"tolerance", tolerance}, {"target", question.targetName}});
    }
    case ClockFinderStatus::SearchTooWide:
      return FormatText(language, TextKey::ClockTooWide,
                        {{"span", span},
                         {"count", std::to_string(result.candidateCount)},
                         {"limit", std::to_string(kMaxClockCandidates)}});
    case ClockFinderStatus::EmptyRange:
      return FormatText(language, TextKey::ClockNoStep, {{"span", span}, {"target", question.targetName}});
    case ClockFinderStatus::NoRates:
    case ClockFinderStatus::NoCommonClock:
    case ClockFinderStatus::Found:
      break;
  }
  return FormatText(language, question.requests.empty() ? TextKey::ClockNoClockTogether : TextKey::ClockNoClockPlan,
                    {{"span", span}, {"rates", RatesText(question)}, {"tolerance", tolerance}});
}

}  // namespace tesmirol::cli
