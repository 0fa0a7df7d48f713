#include "cli/link_runs.h"

#include <algorithm>
#include <cmath>

#include "codegen/init_code_generator.h"
#include "codegen/uart_plan_code.h"
#include "engine/exact_crystal.h"
#include "engine/link_check.h"
#include "engine/target_texts.h"

namespace tesmirol::cli {
namespace {

// The SMOD setting whose reload the classic code would write, or the nearer
// of the settings in range when the code gives way to the warning.
std::optional<std::size_t> ClassicSmod(const BaudCalculation& calculation) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  if (choice.outcome == GenerationOutcome::Code) {
    return choice.smod;
  }
  std::optional<std::size_t> nearest;
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    const ModeResult& mode = calculation.mode.at(smod);
    if (mode.status == ModeStatus::Ok &&
        (!nearest || std::fabs(mode.deviation) < std::fabs(calculation.mode.at(*nearest).deviation))) {
      nearest = smod;
    }
  }
  return nearest;
}

}  // namespace

LinkOutcome ClassicLink(const LinkRequest& request, const BaudCalculation& calculation, std::string_view crystalGbk) {
  const auto smod = ClassicSmod(calculation);
  if (!smod) {
    return CheckLinkAt(request, std::nullopt, calculation.baud);
  }
  const auto crystal = ReadExactCrystal(crystalGbk);
  const auto reload = static_cast<std::uint32_t>(calculation.mode.at(*smod).reload);
  const auto rate = crystal ? ClassicTimer1Rate(*crystal, reload, static_cast<std::uint32_t>(*smod)) : std::nullopt;
  return CheckLinkAt(request, rate, calculation.baud, {}, !rate);
}

LinkOutcome TargetLink(const LinkRequest& request, const TargetSolution* best, std::int32_t baud) {
  if (best == nullptr) {
    return CheckLinkAt(request, std::nullopt, baud);
  }
  return CheckLinkAt(request, Fraction{best->best.achievedNumerator, best->best.achievedDenominator}, baud);
}

std::vector<LinkOutcome> PlanLinks(const LinkRequest& request, const UartPlan& plan) {
  std::vector<LinkOutcome> links;
  for (const PlannedUart& planned : plan.uarts) {
    if (PeerOfUart(request, planned.request.uart) != nullptr) {
      links.push_back(CheckLinkAt(RequestForUart(request, planned.request.uart),
                                  Fraction{planned.setting.achievedNumerator, planned.setting.achievedDenominator},
                                  planned.request.baud, planned.request.uart));
    }
  }
  return links;
}

const LinkOutcome* LinkOfUart(std::span<const LinkOutcome> links, std::string_view uart) {
  const auto found =
      std::find_if(links.begin(), links.end(), [uart](const LinkOutcome& link) { return link.uart == uart; });
  return found == links.end() ? nullptr : &*found;
}

std::optional<std::string> FirstLinkFailure(const LinkRequest& request, std::span<const LinkOutcome> links,
                                            Language language) {
  for (const LinkOutcome& link : links) {
    if (auto failure = LinkFailure(RequestForUart(request, link.uart), link, language)) {
      return failure;
    }
  }
  return std::nullopt;
}

std::vector<std::string> CodeNoteLines(const LinkRequest& request, const LinkOutcome& link, Language language) {
  std::vector<std::string> lines;
  if (auto note = LinkCodeNote(request, link, language)) {
    lines.push_back(std::move(*note));
  }
  return lines;
}

Language CodeLanguage(const CommandLineOptions& options) noexcept {
  return options.json ? Language::Chinese : options.language;
}

double CodeTolerance(const CommandLineOptions& options) noexcept {
  return std::max(kCodeTolerancePercent, options.maxErrorPercent.value_or(kCodeTolerancePercent));
}

std::vector<TargetCodeRequest> PlanRequestsWithNotes(const UartPlan& plan, const TargetInputs& inputs,
                                                     UartMode uartMode, const SerialFrame& frame,
                                                     const LinkRequest* request, std::span<const LinkOutcome> links,
                                                     Language language) {
  std::vector<TargetCodeRequest> requests = PlanCodeRequests(plan, inputs, uartMode, frame);
  if (request != nullptr) {
    for (std::size_t index = 0; index < requests.size() && index < plan.uarts.size(); ++index) {
      const std::string& uart = plan.uarts[index].request.uart;
      if (const LinkOutcome* link = LinkOfUart(links, uart)) {
        requests[index].notes = CodeNoteLines(RequestForUart(*request, uart), *link, language);
      }
    }
  }
  return requests;
}

}  // namespace tesmirol::cli
