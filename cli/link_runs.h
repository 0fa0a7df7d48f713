#pragma once
// What each mode of tesmirol-cli makes of the links answers/ checked: the
// link of a plan's UART, the --require-link verdict, and the language and
// tolerance of the code the links' notes go into.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/command_line_options.h"
#include "cli/link_options.h"
#include "cli/link_report.h"

namespace tesmirol::cli {

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

}  // namespace tesmirol::cli
