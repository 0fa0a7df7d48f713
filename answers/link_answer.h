#pragma once
// The serial link check as the command line and the page both answer it:
// the rate this 8051 really runs at (the classic calculation's best setting,
// a target's best, a plan's UART), checked against the other end asked for
// the same rate; the verdict, the code's note line, how the crystal finder
// ranks crystals by their links, and the link as JSON.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "engine/baud_calculation.h"
#include "engine/clock_tolerance.h"
#include "engine/fraction.h"
#include "engine/language.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// What one link is checked for: the other end, this end's clock tolerance
// and the frame.
struct LinkAsk {
  PeerSpec peer;
  ClockTolerance ownTolerance = kDefaultCrystalTolerance;
  SerialFrame frame;
};

// Why there is no check, or that there is one. The names (LinkStatusName)
// are the JSON's "status" on both faces.
enum class LinkStatus {
  Checked,      // the check holds both directions
  PeerCannot,   // the other end cannot run near the rate (peer.status says how)
  NoSetting,    // this 8051 has no setting in range for the rate
  NoExactRate,  // this 8051's crystal text does not read exactly, so its rate is unknown
};

std::string_view LinkStatusName(LinkStatus status) noexcept;

// The rate this 8051 runs at: a setting's exact rate, or none (no setting in
// range, or a crystal the exact reader refuses).
struct OwnRate {
  std::optional<Fraction> rate;
  bool noExactRate = false;
  Fraction edgeShift{0, 1};  // bits; see LinkEnd
};

// The classic calculation's rate: the SMOD setting its code uses, else the
// in-range setting nearer the rate, worked out exactly from the crystal read
// exactly and TH1.
OwnRate ClassicOwnRate(const BaudCalculation& calculation);

// The SMOD setting the classic link runs at (see ClassicOwnRate); none when
// neither is in range.
std::optional<std::size_t> ClassicLinkSmod(const BaudCalculation& calculation);

// A target's setting's exact rate; none without a setting.
OwnRate SettingOwnRate(const TargetSetting* setting);

// One link: this 8051 at one rate against the other end asked for the same rate.
struct LinkAnswer {
  LinkStatus status = LinkStatus::NoSetting;
  std::string uart;       // the plan's UART ("UART2"), empty for one UART
  std::int32_t baud = 0;  // the rate asked of both ends
  LinkEnd own;
  PeerEnd peer;
  std::optional<LinkCheck> check;  // when Checked
};

LinkAnswer CheckLinkAt(const LinkAsk& ask, const OwnRate& own, std::int32_t baud, std::string uart = {});

// The link's verdict: the check's, or Fails when the other end cannot run
// near the rate; none when there was nothing to check.
std::optional<LinkVerdict> AnswerVerdict(const LinkAnswer& answer) noexcept;

// The smaller margin of the two directions' binding senses, in percent.
double LinkMargin(const LinkCheck& check);

// The generated code's header line about the link (GBK), the same on both
// faces; none when there was nothing to check.
std::optional<std::string> LinkCodeNote(const PeerSpec& peer, const LinkAnswer& answer, Language language);

// The note as the generator's list of header lines: one line, or none.
std::vector<std::string> LinkCodeNotes(const PeerSpec& peer, const LinkAnswer& answer, Language language);

// How well one crystal's links fare, for ranking: the worst verdict of its
// rates' links (Fails where one could not be checked) and the least of the
// largest tolerances left to this 8051's clock (none when one has none).
struct LinkRank {
  LinkVerdict verdict = LinkVerdict::Works;
  std::optional<std::uint32_t> maxOwnTolerancePpm;
};

LinkRank RankOfLinks(std::span<const LinkAnswer> answers);

// The crystal finder's order, on both faces: the better verdict first, then
// the larger tolerance left to this 8051's clock.
bool RanksBefore(const LinkRank& a, const LinkRank& b) noexcept;

// The link as a JSON object with the command line's keys: peer, peerKind,
// baud, frame, uartMode, status, verdict, ownTolerancePpb, and for a checked
// link ownRate, peerRate, peerTolerancePpb, peerReceiver, peerTarget and
// peerSetting (a second 8051), ownToPeer and peerToOwn (each direction's
// verdict, binding sense and both senses' worstPercent, limitPercent,
// marginPercent and limit), maxOwnTolerancePpm. The page's face adds the
// texts it shows: each sense's worstText, limitText, marginText, and the
// link's margin and marginText.
void WriteLink(JsonWriter& json, const LinkAsk& ask, const LinkAnswer& answer);

// One crystal finder row's link: {"status", "verdict", "maxOwnTolerancePpm"},
// the page's face adding margin and marginText of a checked link.
void WriteLinkSummary(JsonWriter& json, const LinkAnswer& answer);

}  // namespace tesmirol::answers
