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

#include "cli/link_options.h"
#include "engine/fraction.h"
#include "engine/language.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"

namespace tesmirol::cli {

// Why there is no check, or what it found.
enum class LinkOutcomeKind {
  Checked,      // check holds both directions
  PeerCannot,   // the peer cannot run near the rate (peer.status says how)
  NoSetting,    // this 8051 has no setting for the rate
  NoExactRate,  // this 8051's crystal cannot be read exactly
};

// One link: this 8051 at one rate against the peer asked for the same rate.
struct LinkOutcome {
  LinkOutcomeKind kind = LinkOutcomeKind::NoSetting;
  std::string uart;       // the plan's UART ("UART2"), empty for one UART
  std::int32_t baud = 0;  // the rate asked of both ends
  LinkEnd own;
  PeerEnd peer;
  std::optional<LinkCheck> check;  // when Checked
};

// Checks the link of this 8051 at ownRate (none: no setting, or no exact
// rate when noExactRate) against the request's peer at baud.
LinkOutcome CheckLinkAt(const LinkRequest& request, const std::optional<Fraction>& ownRate, std::int32_t baud,
                        std::string uart = {}, bool noExactRate = false);

// The link's verdict: the check's, or Fails when the peer cannot run near
// the rate; none when there was nothing to check.
std::optional<LinkVerdict> OutcomeVerdict(const LinkOutcome& outcome) noexcept;

// The report's lines about the link, GBK, each ending in a line feed.
std::string LinkReportLines(const LinkRequest& request, const LinkOutcome& outcome, Language language);

// The report's text with the link's lines put before the generated code (or
// the warning), which ends the report after a blank line; at the end when the
// report holds no code. GBK.
std::string InsertLinkLines(std::string report, std::string_view codeText, std::string_view linkLines);

// The link as JSON: language-neutral keys and values (the verdicts by their
// names, the numbers as numbers). No result when a text cannot be written
// as UTF-8.
std::optional<nlohmann::ordered_json> LinkJson(const LinkRequest& request, const LinkOutcome& outcome);

// The generated code's comment line about the link (without the comment
// marker), GBK; none when there was nothing to check.
std::optional<std::string> LinkCodeNote(const LinkRequest& request, const LinkOutcome& outcome, Language language);

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
