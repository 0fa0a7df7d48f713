#include "web/bridge/link_answers.h"

#include <algorithm>
#include <numeric>

#include "engine/link_texts.h"
#include "text/encoding.h"
#include "web/bridge/target_json.h"

namespace tesmirol::web {
namespace {

// The peer's reading status as the answer's status.
std::string_view PeerProblem(PeerReadStatus status) {
  switch (status) {
    case PeerReadStatus::Ok:
      return "";
    case PeerReadStatus::UnknownName:
      return "badPeer";
    case PeerReadStatus::UnknownTarget:
      return "unknownTarget";
    case PeerReadStatus::BadCrystal:
      return "badPeerCrystal";
    case PeerReadStatus::BadTolerance:
      return "badPeerTolerance";
  }
  return "badPeer";
}

}  // namespace

LinkQuestion ReadLinkQuestion(const LinkTexts& texts) {
  LinkQuestion question;
  question.asked = !texts.peer.empty();
  if (!question.asked) {
    return question;
  }
  const std::optional<std::string> peer = text::Utf16ToGbk(texts.peer);
  const std::optional<std::string> tolerance = text::Utf16ToGbk(texts.tolerance);
  const std::optional<std::string> frame = text::Utf16ToGbk(texts.frame);
  question.peerText = peer.value_or(std::string());
  const PeerReading reading = ReadPeer(question.peerText);
  const ToleranceReading own = ReadClockTolerance(tolerance.value_or(std::string()));
  const std::optional<SerialFrame> serialFrame = ReadSerialFrame(frame.value_or(std::string()));
  if (!peer) {
    question.problem = "badPeer";
  } else if (reading.status != PeerReadStatus::Ok) {
    question.problem = PeerProblem(reading.status);
  } else if (!tolerance || own.status != ToleranceStatus::Ok) {
    question.problem = "badTolerance";
  } else if (!serialFrame) {
    question.problem = "badFrame";
  } else {
    question.ask = answers::LinkAsk{reading.peer, own.tolerance, *serialFrame};
  }
  return question;
}

std::string LinkChoicesJson() {
  JsonWriter json;
  json.BeginObject();
  json.Key("peers");
  json.BeginArray();
  for (const std::string_view name : PeerNames()) {
    json.String(name);
  }
  json.EndArray();
  json.Key("frames");
  json.BeginArray();
  for (const std::string_view frame : SerialFrameNames()) {
    json.String(frame);
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

LinkAnswer AnswerLink(const LinkQuestion& question, const answers::OwnRate& own, std::int32_t baud) {
  if (!question.problem.empty()) {
    LinkAnswer answer{question.problem, {}};
    answer.link.baud = baud;
    return answer;
  }
  return LinkAnswer{"", answers::CheckLinkAt(question.ask, own, baud)};
}

UartMode CodeUartMode(const LinkQuestion& question) {
  if (!question.asked || !question.problem.empty()) {
    return UartMode::Mode1;
  }
  return FrameUartModeOf(question.ask.frame) == FrameUartMode::Mode3 ? UartMode::Mode3 : UartMode::Mode1;
}

SerialFrame CodeSerialFrame(const LinkQuestion& question) {
  return CodeUartMode(question) == UartMode::Mode3 ? question.ask.frame : SerialFrame{};
}

LinkQuestion ClassicLinkQuestion(const LinkTexts& texts) {
  LinkQuestion question = ReadLinkQuestion(texts);
  if (question.asked && question.problem.empty() && CodeUartMode(question) == UartMode::Mode3) {
    question.problem = "frameNeedsTarget";
  }
  return question;
}

void WriteLink(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer) {
  if (!question.asked) {
    json.Null();
    return;
  }
  if (answer.problem.empty()) {
    answers::WriteLink(json, question.ask, answer.link);
    return;
  }
  json.BeginObject();
  json.StringMember("status", answer.problem);
  json.StringMember("peer", Utf8(question.peerText));
  json.IntMember("baud", answer.link.baud);
  json.StringMember("frame", SerialFrameName(question.ask.frame));
  json.EndObject();
}

void WriteLinkSummary(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer) {
  if (!question.asked) {
    json.Null();
  } else if (answer.problem.empty()) {
    answers::WriteLinkSummary(json, answer.link);
  } else {
    json.BeginObject();
    json.StringMember("status", answer.problem);
    json.EndObject();
  }
}

std::vector<std::size_t> FinderOrder(std::span<const LinkAnswer> links, bool rankByLink) {
  std::vector<std::size_t> order(links.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (rankByLink) {
    std::vector<answers::LinkRank> ranks(links.size());
    std::transform(links.begin(), links.end(), ranks.begin(), [](const LinkAnswer& answer) {
      return answers::RankOfLinks({&answer.link, 1});
    });
    std::stable_sort(order.begin(), order.end(),
                     [&ranks](std::size_t a, std::size_t b) { return answers::RanksBefore(ranks[a], ranks[b]); });
  }
  return order;
}

std::vector<std::string> LinkNotes(const LinkQuestion& question, const LinkAnswer& answer, Language language) {
  if (!question.asked || !answer.problem.empty()) {
    return {};
  }
  return answers::LinkCodeNotes(question.ask.peer, answer.link, language);
}

}  // namespace tesmirol::web
