#include "cli/link_runs.h"

#include <algorithm>

#include "codegen/uart_plan_code.h"
#include "engine/target_texts.h"

namespace tesmirol::cli {
std::vector<LinkOutcome> PlanLinks(const LinkRequest& request, const UartPlan& plan) {
  std::vector<LinkOutcome> links;
  for (const PlannedUart& planned : plan.uarts) {
    if (PeerOfUart(request, planned.request.uart) != nullptr) {
      links.push_back(CheckLinkAt(RequestForUart(request, planned.request.uart),
                                  answers::SettingOwnRate(&planned.setting), planned.request.baud,
                                  planned.request.uart));
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
  std::optional<std::string> failure;
  static_cast<void>(std::find_if(links.begin(), links.end(), [&](const LinkOutcome& link) {
    failure = LinkFailure(RequestForUart(request, link.uart), link, language);
    return failure.has_value();
  }));
  return failure;
}

std::vector<std::string> CodeNoteLines(const LinkRequest& request, const LinkOutcome& link, Language language) {
  return answers::LinkCodeNotes(request.peer, link, language);
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
