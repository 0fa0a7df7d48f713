#pragma once
// The serial link the page checks beside its results: the other end as the
// user names it, this end's clock tolerance and the frame, checked by the
// engine (CheckLink) at the rate this end really runs at, and the line the
// generated code's header comment carries about it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/target_init_code.h"
#include "engine/baud_calculation.h"
#include "engine/clock_tolerance.h"
#include "engine/fraction.h"
#include "engine/language.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"
#include "web/bridge/json_writer.h"

namespace tesmirol::web {

// The link's texts as the page gives them (UTF-16): the other end ("" for
// no check: "ideal", an adapter, or "TARGET@CRYSTAL[,TOLERANCE]"), this
// end's clock tolerance ("100ppm", "1.5%") and the frame ("8N1").
struct LinkTexts {
  std::u16string peer;
  std::u16string tolerance;
  std::u16string frame;
};

// The texts read: whether a link is asked about at all, what is wrong with
// them, or the other end, the tolerance and the frame to check.
struct LinkQuestion {
  bool asked = false;
  std::string_view problem;  // empty when the texts read
  std::string peerText;      // GBK, as given
  PeerSpec peer;
  std::string toleranceText;  // GBK, as given
  ClockTolerance tolerance;
  SerialFrame frame;
};

LinkQuestion ReadLinkQuestion(const LinkTexts& texts);

// The UART mode the code is written for: mode 3 for a link whose frame
// needs it (every frame but 8N1), else mode 1, as tesmirol-cli --frame does.
UartMode CodeUartMode(const LinkQuestion& question);

// The frame the code carries: the link's frame in mode 3, else 8N1.
SerialFrame CodeSerialFrame(const LinkQuestion& question);

// The link question of the classic calculation, whose SIO_Init sets mode 1
// only: a frame that needs mode 3 is the problem "frameNeedsTarget".
LinkQuestion ClassicLinkQuestion(const LinkTexts& texts);

// What the page's link choices offer: {"peers": the adapters' names then
// "ideal", "frames": every frame the 8051's UART carries, 8N1 first}.
std::string LinkChoicesJson();

// One UART's link: the status ("ok", "noRate" when this end has no setting,
// "adapterCannot", "targetCannot", or the question's problem), the other
// end as resolved at the rate and the engine's check.
struct LinkAnswer {
  std::string_view status;
  std::int32_t baud = 0;
  PeerEnd peer;
  LinkCheck check;
};

// Checks the link of this end running at ownRate (none: no setting in
// range) against the other end asked for baud.
LinkAnswer AnswerLink(const LinkQuestion& question, const std::optional<Fraction>& ownRate, std::int32_t baud);

// The rate the classic calculation's code runs at, exactly: the SMOD setting
// the code uses, else the in-range setting nearer the rate; none when
// neither is in range or the crystal does not read exactly.
std::optional<Fraction> ClassicOwnRate(const BaudCalculation& calculation);

// A target's setting's exact rate.
Fraction SettingRate(const TargetSetting& setting);

// The smaller margin of the two directions' binding senses, in percent: what
// the crystal finder ranks by and the code's note gives.
double LinkMargin(const LinkCheck& check);

// The answer as a JSON value: null when no link is asked about, else
// {"status", "peer", "frame", "verdict", "ownToPeer", "peerToOwn" (each
// {"verdict", "binding", "fast", "slow"}, a sense being {"verdict",
// "worst", "limit", "margin"} as bits and as two-decimal texts), "margin",
// "marginText", "maxOwnTolerancePpm" (or null), "peerSetting" (the second
// 8051's generator and setting, or null)}; for a problem the status, "peer"
// and "baud".
void WriteLink(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer);

// The link of one row of the crystal finder as a JSON value: null when no
// link is asked about, else {"status", and for "ok" "verdict", "margin"
// (bits) and "marginText"}.
void WriteLinkSummary(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer);

// The order the crystal finder shows its rows in: as given, or ranked by
// link margin, the largest first, rows whose link was not checked after
// them in their order.
std::vector<std::size_t> FinderOrder(std::span<const LinkAnswer> answers, bool rankByLink);

// The header comment's line about the link (GBK) in the language, the line
// tesmirol-cli --peer writes: the worse direction's worst mismatch and
// limit and the verdict, or that the other end cannot run near the rate;
// none when no link is asked about or there is nothing to check.
std::optional<std::string> LinkNote(const LinkQuestion& question, const LinkAnswer& answer, Language language);

// The note as the generator's list of header lines: one line, or none.
std::vector<std::string> LinkNotes(const LinkQuestion& question, const LinkAnswer& answer, Language language);

}  // namespace tesmirol::web
