#include "answers/link_question.h"

#include <algorithm>
#include <numeric>

#include "engine/link_texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The peer's reading status as the question's problem.
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
  question.asked = texts.asked;
  const std::optional<SerialFrame> serialFrame = ReadSerialFrame(texts.frame.value_or(std::string()));
  question.codeFrame = serialFrame.value_or(SerialFrame{});
  if (!question.asked) {
    return question;
  }
  question.peerText = texts.peer.value_or(std::string());
  const PeerReading reading = ReadPeer(question.peerText);
  const ToleranceReading own = ReadClockTolerance(texts.tolerance.value_or(std::string()));
  if (!texts.peer) {
    question.problem = "badPeer";
  } else if (reading.status != PeerReadStatus::Ok) {
    question.problem = PeerProblem(reading.status);
  } else if (!texts.tolerance || own.status != ToleranceStatus::Ok) {
    question.problem = "badTolerance";
  } else if (!serialFrame) {
    question.problem = "badFrame";
  } else {
    question.ask = LinkAsk{reading.peer, own.tolerance, *serialFrame};
  }
  return question;
}

LinkQuestion ReadClassicLinkQuestion(const LinkTexts& texts) {
  LinkQuestion question = ReadLinkQuestion(texts);
  if (CodeUartMode(question) == UartMode::Mode3) {
    if (!question.asked) {
      question.problem = "frameNoTarget";
    } else if (question.Ask() != nullptr) {
      question.problem = "frameNeedsTarget";
    }
  }
  return question;
}

UartMode CodeUartMode(const LinkQuestion& question) {
  return FrameUartModeOf(question.codeFrame) == FrameUartMode::Mode3 ? UartMode::Mode3 : UartMode::Mode1;
}

SerialFrame CodeSerialFrame(const LinkQuestion& question) {
  return CodeUartMode(question) == UartMode::Mode3 ? question.codeFrame : SerialFrame{};
}

bool TargetsCarryCodeFrame(std::span<const BaudTarget* const> targets, const LinkQuestion& question) {
  return std::all_of(targets.begin(), targets.end(),
                     [&question](const BaudTarget* target) { return TargetCarriesFrame(*target, question.codeFrame); });
}

TargetCodeStyle CodeStyleOf(const LinkQuestion& question, Language language) {
  return {CodeUartMode(question), CodeSerialFrame(question), language, kCodeTolerancePercent};
}

QuestionLink AnswerQuestionLink(const LinkQuestion& question, const OwnRate& own, std::int32_t baud) {
  if (!question.problem.empty()) {
    QuestionLink answer{question.problem, {}};
    answer.link.baud = baud;
    return answer;
  }
  return QuestionLink{"", CheckLinkAt(question.ask, own, baud)};
}

QuestionLink LinkOfAnswer(const LinkQuestion& question, const std::optional<LinkAnswer>& checked, std::int32_t baud) {
  return checked ? QuestionLink{"", *checked} : AnswerQuestionLink(question, {}, baud);
}

std::vector<std::size_t> FinderOrder(std::span<const QuestionLink> links, bool rankByLink) {
  std::vector<std::size_t> order(links.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (rankByLink) {
    std::vector<LinkRank> ranks(links.size());
    std::transform(links.begin(), links.end(), ranks.begin(), [](const QuestionLink& answer) {
      return RankOfLinks({&answer.link, 1});
    });
    std::stable_sort(order.begin(), order.end(),
                     [&ranks](std::size_t a, std::size_t b) { return RanksBefore(ranks[a], ranks[b]); });
  }
  return order;
}

void WriteQuestionLink(JsonWriter& json, const LinkQuestion& question, const QuestionLink& link) {
  if (!question.asked) {
    json.Null();
    return;
  }
  if (link.problem.empty()) {
    WriteLink(json, question.ask, link.link);
    return;
  }
  json.BeginObject();
  json.StringMember("status", link.problem);
  json.StringMember("peer", text::GbkToUtf8(question.peerText).value_or(std::string()));
  json.IntMember("baud", link.link.baud);
  json.StringMember("frame", SerialFrameName(question.ask.frame));
  json.EndObject();
}

void WriteQuestionLinkSummary(JsonWriter& json, const LinkQuestion& question, const QuestionLink& link) {
  if (!question.asked) {
    json.Null();
  } else if (link.problem.empty()) {
    WriteLinkSummary(json, link.link);
  } else {
    json.BeginObject();
    json.StringMember("status", link.problem);
    json.EndObject();
  }
}

void WriteLinkChoices(JsonWriter& json) {
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
}

}  // namespace tesmirol::answers
