// Fuzzes the clock finder the way --find-clock asks it: the input holds the
// texts of --target, the --find-clock list, --clock-range, --max-error,
// --limit and the --uart values, cut at NUL bytes and read by the command
// line's own readers. With a list it finds clocks for one UART switched
// between the rates, without one the clocks at which the --uart NAME:RATE
// plan exists. Every clock listed must lie in the range, give each rate at
// the setting its registers say within the tolerance, and stand in the
// ranking's order; a clock called exact must be exact.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <vector>

#include "cli/option_values.h"
#include "engine/clock_planner.h"
#include "engine/relative_error.h"
#include "engine/target_catalogue.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/setting_check.h"

namespace tesmirol::fuzz {
namespace {

// Bounds on the work one input asks for: each rate or UART multiplies the
// candidates, each clock listed is planned.
constexpr std::size_t kMaxRates = 3;
constexpr std::size_t kMaxListed = 50;
// The widest range planned for several UARTs: the plan is worked out at
// every candidate clock, so a range of many megahertz takes seconds.
constexpr std::uint64_t kMaxPlanWidthHz = 1000000;

// A few crystals for the ranking, as the presets would give.
constexpr std::array<std::uint64_t, 5> kCommonClocks = {11059200, 12000000, 22118400, 24000000, 32768};

bool SameError(const RelativeError& a, const RelativeError& b) { return !IsLess(a, b) && !IsLess(b, a); }

// The --limit text as the command line reads it, at most kMaxListed.
std::size_t ReadLimit(std::string_view text) {
  std::size_t limit = 20;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), limit);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    limit = 20;
  }
  return std::min(limit, kMaxListed);
}

// One rate at one clock: the setting its registers say, within the
// tolerance, with the error the candidate records.
void CheckRate(const ClockRateSetting& rate, std::int32_t baud, const std::vector<const BaudTarget*>& targets,
               std::uint64_t hertz, double tolerance) {
  const ExactFrequency clock{hertz, 1};
  Require(rate.baud == baud, "the rates in the order asked");
  Require(rate.target != nullptr && IsOneOf(rate.target, targets), "each rate on one of the targets asked");
  CheckSettingRegisters(*rate.target, rate.setting, clock);
  Require(!(std::fabs(rate.setting.deviation) > tolerance), "each rate within the tolerance");
  Require(SameError(rate.error, ErrorOf(rate.setting, clock, baud)), "the error recorded is the setting's");
}

void CheckCandidate(const ClockCandidate& candidate, const ClockSpan& span,
                    const std::vector<const BaudTarget*>& targets, const std::vector<std::int32_t>& rates,
                    const std::vector<UartRequest>& requests, double tolerance) {
  const std::uint64_t hertz = candidate.hertz;
  Require(hertz >= span.low && hertz <= span.high, "every clock in the range");
  Require(span.steps.empty() || std::find(span.steps.begin(), span.steps.end(), hertz) != span.steps.end(),
          "every clock one of the chip's steps");
  const ExactFrequency clock{hertz, 1};
  std::vector<RelativeError> errors;
  if (requests.empty()) {
    Require(candidate.rates.size() == rates.size() && !candidate.plan, "one setting per rate");
    for (std::size_t index = 0; index < rates.size(); ++index) {
      CheckRate(candidate.rates[index], rates[index], targets, hertz, tolerance);
      errors.push_back(candidate.rates[index].error);
    }
  } else {
    Require(candidate.plan && candidate.plan->uarts.size() == requests.size(), "one planned UART per request");
    for (std::size_t index = 0; index < requests.size(); ++index) {
      const PlannedUart& planned = candidate.plan->uarts[index];
      Require(planned.request.uart == requests[index].uart && planned.request.baud == requests[index].baud,
              "the UARTs in the order asked");
      Require(
          planned.target != nullptr && IsOneOf(planned.target, targets) && planned.target->uart == planned.request.uart,
          "each UART on a generator of its own on the chip");
      CheckSettingRegisters(*planned.target, planned.setting, clock);
      Require(!(std::fabs(planned.setting.deviation) > tolerance), "each UART within the tolerance");
      errors.push_back(ErrorOf(planned.setting, clock, planned.request.baud));
    }
  }
  Require(candidate.worstIndex < errors.size() && SameError(candidate.worst, errors[candidate.worstIndex]),
          "the worst error is one rate's");
  Require(std::none_of(errors.begin(), errors.end(),
                       [&candidate](const RelativeError& error) { return IsLess(candidate.worst, error); }),
          "no rate's error above the worst");
  Require(candidate.exact == (candidate.worst.numerator == 0), "exact means every rate without error");
  const CommonClock common = NearestCommonClock(hertz, kCommonClocks);
  Require(candidate.commonKind == common.kind && candidate.commonHertz == common.hertz &&
              candidate.commonDistance == common.distance,
          "the nearest common frequency");
}

// The ranking: the worst error, then the distance to a common frequency,
// then the frequency; no clock twice.
bool RanksBefore(const ClockCandidate& a, const ClockCandidate& b) {
  if (IsLess(a.worst, b.worst)) {
    return true;
  }
  if (IsLess(b.worst, a.worst)) {
    return false;
  }
  return std::tie(a.commonDistance, a.hertz) < std::tie(b.commonDistance, b.hertz);
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol;
  using namespace tesmirol::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsText(data, size), 6);
  const std::vector<const BaudTarget*> chip = PickChip(fields[0]);

  std::vector<std::int32_t> rates;
  std::vector<UartRequest> requests;
  std::vector<const BaudTarget*> targets = chip;
  if (!fields[1].empty()) {
    rates = cli::ParseRates(fields[1]).value_or(std::vector<std::int32_t>{});
    rates.resize(std::min(rates.size(), kMaxRates));
    if (rates.empty()) {
      return 0;
    }
    targets = FindBaudTargets(fields[0]);
    if (targets.empty()) {
      targets = chip;
    }
  } else {
    for (const std::string_view word : Words(fields[5], kMaxRates)) {
      cli::UartChoice choice;
      if (!cli::ParseUartChoice(word, choice, Language::English) && choice.baud &&
          std::none_of(requests.begin(), requests.end(),
                       [&choice](const UartRequest& request) { return request.uart == choice.uart; })) {
        requests.push_back({choice.uart, *choice.baud, std::to_string(*choice.baud)});
      }
    }
    if (requests.empty()) {
      return 0;
    }
  }

  ClockSpan span;
  if (!fields[2].empty()) {
    cli::ClockRange range;
    if (cli::ParseClockRange(fields[2], range)) {
      return 0;
    }
    Require(range.low > 0 && range.low <= range.high, "a clock range read runs upward from above 0");
    span.low = range.low;
    span.high = requests.empty() ? range.high : std::min(range.high, range.low + kMaxPlanWidthHz);
  } else if (const auto steps = SharedClockSteps(targets)) {
    span.steps = *steps;
  } else {
    span.low = 4000000;
    span.high = 35000000;
  }

  ClockFinderOptions options;
  options.tolerancePercent = fields[3].empty() ? 1.0 : cli::ParsePercent(fields[3]).value_or(1.0);
  options.limit = ReadLimit(fields[4]);
  options.commonClocks.assign(kCommonClocks.begin(), kCommonClocks.end());
  const ClockFinderResult result = requests.empty() ? FindClocksForRates(targets, rates, span, options)
                                                    : FindClocksForPlan(chip, requests, span, options);

  Require((result.status == ClockFinderStatus::Found) == !result.clocks.empty(), "clocks listed exactly when found");
  Require(result.clocks.size() <= std::max<std::size_t>(options.limit, 1), "at most limit clocks");
  Require(result.status != ClockFinderStatus::RateOutOfReach ||
              (result.rateIndex && *result.rateIndex < std::max(rates.size(), requests.size())),
          "a rate out of reach is one asked for");
  const auto exactListed = static_cast<std::size_t>(
      std::count_if(result.clocks.begin(), result.clocks.end(), [](const ClockCandidate& c) { return c.exact; }));
  Require(result.exactCount >= exactListed, "the exact count covers the exact clocks listed");
  for (std::size_t index = 0; index < result.clocks.size(); ++index) {
    CheckCandidate(result.clocks[index], span, requests.empty() ? targets : chip, rates, requests,
                   options.tolerancePercent);
    Require(index == 0 || RanksBefore(result.clocks[index - 1], result.clocks[index]), "the clocks in ranked order");
  }
  return 0;
}
