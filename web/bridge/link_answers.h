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

#include "answers/json_writer.h"
#include "answers/link_answer.h"
#include "codegen/target_init_code.h"
#include "engine/baud_calculation.h"
#include "engine/clock_tolerance.h"
#include "engine/fraction.h"
#include "engine/language.h"
#include "engine/link_check.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"
#include "engine/target_solver.h"

namespace tesmirol::web {

using answers::JsonWriter;

// The link's texts as the page gives them (UTF-16): the other end ("" for
// no check: "ideal", an adapter, or "TARGET@CRYSTAL[,TOLERANCE]"), this
// end's clock tolerance ("100ppm", "1.5%") and the frame ("8N1").
struct LinkTexts {
  std::u16string peer;
  std::u16string tolerance;
  std::u16string frame;
};

// The texts read: whether a link is asked about at all, what is wrong with
// them, or the link to check (the other end, the tolerance and the frame).
struct LinkQuestion {
  bool asked = false;
  std::string_view problem;  // empty when the texts read
  std::string peerText;      // GBK, as given
  answers::LinkAsk ask;
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

// One UART's link: the question's problem, or the link answers/ checked.
struct LinkAnswer {
  std::string_view problem;
  answers::LinkAnswer link;
};

// Checks the link of this end running at its rate against the other end
// asked for baud.
LinkAnswer AnswerLink(const LinkQuestion& question, const answers::OwnRate& own, std::int32_t baud);

// The answer as a JSON value: null when no link is asked about; for a
// problem {"status" (the problem), "peer" (as given), "baud", "frame"};
// else answers::WriteLink's object (the page's face).
void WriteLink(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer);

// The link of one row of the crystal finder as a JSON value: null when no
// link is asked about, {"status"} for a problem, else
// answers::WriteLinkSummary's object.
void WriteLinkSummary(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer);

// The order the crystal finder shows its rows in: as given, or ranked by
// the link as the command line ranks (answers::RanksBefore).
std::vector<std::size_t> FinderOrder(std::span<const LinkAnswer> links, bool rankByLink);

// The header comment's line about the link (GBK) in the language, as a
// list of one line or none.
std::vector<std::string> LinkNotes(const LinkQuestion& question, const LinkAnswer& answer, Language language);

}  // namespace tesmirol::web
