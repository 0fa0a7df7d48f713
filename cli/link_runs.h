#pragma once
// The serial link check in each mode of tesmirol-cli: the rate this 8051
// really runs at (the classic calculation's setting, a target's best, each
// UART of a plan), checked against the peer asked for the same rate, and
// the --require-link verdict.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/link_options.h"
#include "cli/link_report.h"
#include "codegen/target_init_code.h"
#include "engine/baud_calculation.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// Each UART of the plan that has a peer (its own, or the one of every
// UART) against that peer at the UART's rate, in the plan's order.
std::vector<LinkOutcome> PlanLinks(const LinkRequest& request, const UartPlan& plan);

// The link of the UART ("UART2"), or none when the UART has no peer.
const LinkOutcome* LinkOfUart(std::span<const LinkOutcome> links, std::string_view uart);

// --require-link: the first failing link's message (UTF-8), or none.
std::optional<std::string> FirstLinkFailure(const LinkRequest& request, std::span<const LinkOutcome> links,
                                            Language language);

// The language the generated code is written in, which its note line
// speaks too: --lang's, but with --json Chinese (the classic code's own
// text), so that the JSON is the same in every language.
Language CodeLanguage(const CommandLineOptions& options) noexcept;

// The deviation the generated code accepts: the dialog's 1 %, or the wider
// one --max-error asks for (a narrower one is the build check's, which
// fails before any code is written).
double CodeTolerance(const CommandLineOptions& options) noexcept;

// The generated code's note lines for one link: its line, or none when
// there was nothing to check. GBK.
std::vector<std::string> CodeNoteLines(const LinkRequest& request, const LinkOutcome& link, Language language);

// The plan's code requests (for the init code, the driver and the
// assembly text) in the frame, each UART's request with its link's note
// line.
std::vector<TargetCodeRequest> PlanRequestsWithNotes(const UartPlan& plan, const TargetInputs& inputs,
                                                     UartMode uartMode, const SerialFrame& frame,
                                                     const LinkRequest* request, std::span<const LinkOutcome> links,
                                                     Language language);

}  // namespace tesmirol::cli
