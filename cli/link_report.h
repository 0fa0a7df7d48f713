#pragma once
// The serial link check as tesmirol-cli shows it: a few lines of the report
// (both directions' worst mismatch, the receiver's limit, the margin, the
// verdict, the largest tolerance of this 8051's clock), the JSON object with
// language-neutral keys and values, the generated code's comment line, and
// the message of a failed --require-link.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "answers/link_answer.h"
#include "cli/link_options.h"
#include "engine/fraction.h"
#include "engine/language.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"

namespace tesmirol::cli {

// One link of this 8051 against the peer, as answers/ checks it.
using LinkOutcome = answers::LinkAnswer;

// The link options as the question answers/ checks.
answers::LinkAsk LinkAskOf(const LinkRequest& request);

// The report's lines about the link, GBK, each ending in a line feed.
std::string LinkReportLines(const LinkRequest& request, const LinkOutcome& outcome, Language language);

// The report's text with the link's lines put before the generated code (or
// the warning), which ends the report after a blank line; at the end when the
// report holds no code. GBK.
std::string InsertLinkLines(std::string report, std::string_view codeText, std::string_view linkLines);

// The link as JSON (answers::WriteLink, the command line's face). No result
// when the peer's name cannot be written as UTF-8.
std::optional<nlohmann::ordered_json> LinkJson(const LinkRequest& request, const LinkOutcome& outcome);

// The link as the member "link" of the object json writes; false, with
// nothing written, when the peer's name cannot be written as UTF-8.
[[nodiscard]] bool WriteLinkMember(answers::JsonWriter& json, const LinkRequest& request, const LinkOutcome& outcome);

// Why --require-link fails (UTF-8, one line), or none when the link does not
// fail (a marginal link passes).
std::optional<std::string> LinkFailure(const LinkRequest& request, const LinkOutcome& outcome, Language language);

// The crystal finder's words for a crystal's worst link (GBK): the verdict
// and how far this 8051's clock may stray.
std::string FinderLinkText(LinkVerdict verdict, std::optional<std::uint32_t> maxOwnTolerancePpm, Language language);

// A tolerance in parts per billion as the report writes it: "100ppm" below
// 0.1 %, "1.5%" from there up, exact.
std::string ToleranceText(std::uint64_t partsPerBillion);

}  // namespace tesmirol::cli
