#pragma once
// The serial link as the page asks about it beside every result: the other
// end as the user names it, this end's clock tolerance and the frame, read
// into the link to check or the problem with the texts; the UART mode and
// frame the code is written for; the link of one result (the problem, or
// the link checked); the crystal finder's order by link; and the link as
// the page's JSON.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "answers/link_answer.h"
#include "answers/target_answer.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"

namespace tesmirol::answers {

// A user's text as GBK; none when it holds a character GBK cannot (or came
// broken from the page).
using GbkText = std::optional<std::string>;

// The link's texts (GBK): the other end ("ideal", an adapter, or
// "TARGET@CRYSTAL[,TOLERANCE]"), this end's clock tolerance ("100ppm",
// "1.5%") and the frame ("8N1"); none for a text GBK cannot hold.
struct LinkTexts {
  bool asked = false;  // an other end was named; nothing is checked without one
  GbkText peer;
  GbkText tolerance;
  GbkText frame;
};

// The texts read: whether a link is asked about at all, what is wrong with
// them ("badPeer", "unknownTarget", "badPeerCrystal", "badPeerTolerance",
// "badTolerance", "badFrame", "frameNeedsTarget", "frameNoTarget"), or the
// link to check; and the frame the code is written for, which the frame's
// text sets with or without another end, as tesmirol-cli --frame does.
struct LinkQuestion {
  bool asked = false;
  std::string_view problem;  // empty when the texts read
  std::string peerText;      // GBK, as given
  LinkAsk ask;
  SerialFrame codeFrame;  // 8N1 when the frame's text does not read

  // The link to check; null when none is asked about or the texts do not read.
  [[nodiscard]] const LinkAsk* Ask() const noexcept { return asked && problem.empty() ? &ask : nullptr; }
};

LinkQuestion ReadLinkQuestion(const LinkTexts& texts);

// The link question of the classic calculation, whose SIO_Init sets mode 1
// only: a frame that needs mode 3 is the problem "frameNeedsTarget" on a
// link, and "frameNoTarget" without one (a frame for the code alone, which
// tesmirol-cli --frame takes only with --target).
LinkQuestion ReadClassicLinkQuestion(const LinkTexts& texts);

// The UART mode the code is written for: mode 3 for a frame that needs it
// (every frame but 8N1), else mode 1, as tesmirol-cli --frame does.
UartMode CodeUartMode(const LinkQuestion& question);

// The frame the code carries: the frame in mode 3, else 8N1.
SerialFrame CodeSerialFrame(const LinkQuestion& question);

// Whether every target carries the code's frame: the CC253x USARTs' code
// sets 8N1 and 8N2 alone, and tesmirol-cli refuses any other --frame for
// them ("frameNotCarried").
bool TargetsCarryCodeFrame(std::span<const BaudTarget* const> targets, const LinkQuestion& question);

// How a target's code is written for the link: its UART mode and frame, in
// the language, within the dialog's 1 %.
TargetCodeStyle CodeStyleOf(const LinkQuestion& question, Language language);

// One result's link: the question's problem, or the link answers checked.
struct QuestionLink {
  std::string_view problem;
  LinkAnswer link;
};

// Checks the link of this end running at its rate against the other end
// asked for baud (the problem alone when the texts do not read).
QuestionLink AnswerQuestionLink(const LinkQuestion& question, const OwnRate& own, std::int32_t baud);

// The link an answer checked, or the question's problem at the rate.
QuestionLink LinkOfAnswer(const LinkQuestion& question, const std::optional<LinkAnswer>& checked, std::int32_t baud);

// The order the crystal finder shows its rows in: as given, or ranked by
// the link as the command line ranks (RanksBefore).
std::vector<std::size_t> FinderOrder(std::span<const QuestionLink> links, bool rankByLink);

// The link as a JSON value: null when no link is asked about; for a
// problem {"status" (the problem), "peer" (as given), "baud", "frame"};
// else WriteLink's object.
void WriteQuestionLink(JsonWriter& json, const LinkQuestion& question, const QuestionLink& link);

// One crystal finder row's link as a JSON value: null when no link is
// asked about, {"status"} for a problem, else WriteLinkSummary's object.
void WriteQuestionLinkSummary(JsonWriter& json, const LinkQuestion& question, const QuestionLink& link);

// The choices of a link: {"peers": the adapters' names then "ideal",
// "frames": every frame the 8051's UART carries, 8N1 first}.
void WriteLinkChoices(JsonWriter& json);

}  // namespace tesmirol::answers
