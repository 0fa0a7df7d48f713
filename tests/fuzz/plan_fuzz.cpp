// Fuzzes the UART planner the way --target CHIP --uart NAME:RATE ... asks
// it: the input holds the texts of --target, CRYSTAL, the --uart values
// (separated by blanks, at most four), --max-error and BAUD, cut at NUL
// bytes, read by the command line's own readers. A plan must give each UART
// a generator of its own chip at the rate its registers give, within the
// tolerance, with no timer at two settings; a conflict must be true of the
// requests it names.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/option_values.h"
#include "cli/uart_requests.h"
#include "engine/relative_error.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/setting_check.h"

namespace tesmirol::fuzz {
namespace {

// More UARTs than any chip has; the search grows with each.
constexpr std::size_t kMaxUarts = 4;

// One setting of a timer: its clock (clocks per count) and its reload.
bool SameTimerSetting(const TargetSetting& a, const TargetSetting& b) {
  return a.clocksPerCycle == b.clocksPerCycle && a.divisor == b.divisor;
}

void CheckPlan(const UartPlan& plan, const std::vector<const BaudTarget*>& chip, const TargetInputs& inputs,
               const std::vector<UartRequest>& requests, double tolerance) {
  Require(plan.uarts.size() == requests.size(), "one planned UART per request");
  Require(plan.worst < plan.uarts.size(), "the worst UART is one of the plan's");
  const PlannedUart& worst = plan.uarts[plan.worst];
  const RelativeError worstError = ErrorOf(worst.setting, inputs.frequency, worst.request.baud);
  for (std::size_t index = 0; index < plan.uarts.size(); ++index) {
    const PlannedUart& planned = plan.uarts[index];
    Require(planned.request.uart == requests[index].uart && planned.request.baud == requests[index].baud,
            "the plan keeps the order asked");
    Require(planned.target != nullptr && IsOneOf(planned.target, chip), "each UART gets a generator of its chip");
    Require(planned.target->uart == planned.request.uart, "the generator drives the UART asked for");
    CheckSettingRegisters(*planned.target, planned.setting, inputs.frequency);
    Require(!(std::fabs(planned.setting.deviation) > tolerance), "every UART within the tolerance");
    Require(!IsLess(worstError, ErrorOf(planned.setting, inputs.frequency, planned.request.baud)),
            "no UART's error above the worst one's");
    Require(planned.generatorCount == TargetsOfUart(chip, planned.request.uart).size(),
            "the generator count is the chip's for the UART");
    Require(planned.reason != PlanReason::OnlyGenerator || planned.generatorCount == 1,
            "only generator means one generator");
    Require(planned.reason != PlanReason::TimerTaken || (planned.takenBy && *planned.takenBy < plan.uarts.size()),
            "a taken timer names the request that holds it");
    for (std::size_t other = 0; other < plan.uarts.size(); ++other) {
      const PlannedUart& second = plan.uarts[other];
      if (other != index && second.target->timer == planned.target->timer) {
        Require(SameTimerSetting(second.setting, planned.setting), "UARTs on one timer share its clock and reload");
      }
    }
    for (const std::size_t other : planned.sharedWith) {
      Require(other < plan.uarts.size() && other != index && plan.uarts[other].target->timer == planned.target->timer,
              "UARTs said to share a timer are on one timer");
    }
  }
}

// The request's UART solved alone on each of its generators: whether any
// comes within the tolerance.
bool ReachableAlone(const std::vector<const BaudTarget*>& chip, const TargetInputs& inputs, const UartRequest& request,
                    double tolerance) {
  TargetInputs alone = inputs;
  alone.baud = request.baud;
  alone.baudText = request.baudText;
  return std::ranges::any_of(TargetsOfUart(chip, request.uart), [&alone, tolerance](const BaudTarget* target) {
    const TargetSolution solution = SolveTarget(*target, alone);
    return solution.status == TargetStatus::Ok && !(std::fabs(solution.best.deviation) > tolerance);
  });
}

void CheckConflict(const PlanConflict& conflict, const std::vector<const BaudTarget*>& chip, const TargetInputs& inputs,
                   const std::vector<UartRequest>& requests, double tolerance) {
  Require(!conflict.requests.empty(), "a conflict names the requests concerned");
  for (const std::size_t index : conflict.requests) {
    Require(index < requests.size(), "a conflict names requests that were made");
    const UartRequest& request = requests[index];
    switch (conflict.kind) {
      case PlanConflictKind::NoGenerator:
        Require(TargetsOfUart(chip, request.uart).empty(), "no generator only for a UART the chip lacks");
        break;
      case PlanConflictKind::OutOfReach:
        Require(!ReachableAlone(chip, inputs, request, tolerance), "out of reach only when no generator reaches");
        break;
      case PlanConflictKind::SharedTimer:
        Require(ReachableAlone(chip, inputs, request, tolerance), "a timer conflict only between reachable UARTs");
        break;
    }
  }
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol;
  using namespace tesmirol::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsText(data, size), 5);
  const std::vector<const BaudTarget*> chip = PickChip(fields[0]);
  const std::optional<TargetInputs> inputs = ReadTargetInputs(fields[1], fields[4].empty() ? "9600" : fields[4]);
  if (!inputs) {
    return 0;
  }
  std::vector<cli::UartChoice> choices;
  for (const std::string_view word : Words(fields[2], kMaxUarts)) {
    cli::UartChoice choice;
    const std::optional<std::string> problem = cli::ParseUartChoice(word, choice, Language::English);
    Require(!problem || !problem->empty(), "a refused --uart says why");
    // The command line takes each UART once.
    const bool repeated = std::any_of(choices.begin(), choices.end(),
                                      [&choice](const cli::UartChoice& given) { return given.uart == choice.uart; });
    if (!problem && !repeated) {
      choices.push_back(choice);
    }
  }
  const double tolerance = fields[3].empty() ? 1.0 : cli::ParsePercent(fields[3]).value_or(1.0);
  const std::vector<UartRequest> requests = cli::MakeUartRequests(choices, *inputs);

  const PlanResult result = PlanUarts(chip, *inputs, requests, tolerance);
  if (requests.empty()) {
    Require(!result.plan && result.conflict && result.conflict->kind == PlanConflictKind::NoGenerator,
            "no request, no plan");
    return 0;
  }
  Require(result.plan.has_value() != result.conflict.has_value(), "a plan or a conflict, never both");
  if (result.plan) {
    CheckPlan(*result.plan, chip, *inputs, requests, tolerance);
  } else {
    CheckConflict(*result.conflict, chip, *inputs, requests, tolerance);
  }
  return 0;
}
