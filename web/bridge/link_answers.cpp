#include "web/bridge/link_answers.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "codegen/init_code_generator.h"
#include "engine/deviation_text.h"
#include "engine/exact_crystal.h"
#include "engine/link_texts.h"
#include "engine/texts.h"
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

void WriteSense(JsonWriter& json, const MismatchSense& sense) {
  json.BeginObject();
  json.Key("verdict");
  json.String(LinkVerdictName(sense.verdict));
  json.Key("worst");
  json.DoubleBits(sense.worstPercent);
  json.Key("worstText");
  json.String(FormatDeviation(sense.worstPercent));
  json.Key("limit");
  json.DoubleBits(sense.limitPercent);
  json.Key("limitText");
  json.String(FormatDeviation(sense.limitPercent));
  json.Key("margin");
  json.DoubleBits(sense.marginPercent);
  json.Key("marginText");
  json.String(FormatDeviation(sense.marginPercent));
  json.EndObject();
}

void WriteDirection(JsonWriter& json, const LinkDirection& direction) {
  json.BeginObject();
  json.Key("verdict");
  json.String(LinkVerdictName(direction.verdict));
  json.Key("binding");
  json.String(direction.fastBinds ? "fast" : "slow");
  json.Key("fast");
  WriteSense(json, direction.fast);
  json.Key("slow");
  WriteSense(json, direction.slow);
  json.EndObject();
}

// The second 8051's generator and setting, as the engine chose them.
void WritePeerSetting(JsonWriter& json, const PeerEnd& peer) {
  if (peer.target == nullptr) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("target");
  json.String(peer.target->name);
  json.Key("setting");
  WriteSetting(json, *peer.target, peer.setting);
  json.EndObject();
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
  question.toleranceText = tolerance.value_or(std::string());
  const PeerReading reading = ReadPeer(question.peerText);
  const ToleranceReading own = ReadClockTolerance(question.toleranceText);
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
    question.peer = reading.peer;
    question.tolerance = own.tolerance;
    question.frame = *serialFrame;
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

LinkAnswer AnswerLink(const LinkQuestion& question, const std::optional<Fraction>& ownRate, std::int32_t baud) {
  LinkAnswer answer;
  answer.baud = baud;
  if (!question.problem.empty()) {
    answer.status = question.problem;
    return answer;
  }
  if (!ownRate) {
    answer.status = "noRate";
    return answer;
  }
  answer.peer = ResolvePeer(question.peer, baud);
  switch (answer.peer.status) {
    case PeerEndStatus::Ok:
      break;
    case PeerEndStatus::AdapterCannot:
      answer.status = "adapterCannot";
      return answer;
    case PeerEndStatus::TargetCannot:
      answer.status = "targetCannot";
      return answer;
  }
  answer.check = CheckLink(Uart8051End(*ownRate, question.tolerance), answer.peer.end, question.frame);
  answer.status = "ok";
  return answer;
}

UartMode CodeUartMode(const LinkQuestion& question) {
  if (!question.asked || !question.problem.empty()) {
    return UartMode::Mode1;
  }
  return FrameUartModeOf(question.frame) == FrameUartMode::Mode3 ? UartMode::Mode3 : UartMode::Mode1;
}

SerialFrame CodeSerialFrame(const LinkQuestion& question) {
  return CodeUartMode(question) == UartMode::Mode3 ? question.frame : SerialFrame{};
}

LinkQuestion ClassicLinkQuestion(const LinkTexts& texts) {
  LinkQuestion question = ReadLinkQuestion(texts);
  if (question.asked && question.problem.empty() && CodeUartMode(question) == UartMode::Mode3) {
    question.problem = "frameNeedsTarget";
  }
  return question;
}

std::optional<Fraction> ClassicOwnRate(const BaudCalculation& calculation) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  std::optional<std::size_t> smod;
  if (choice.outcome == GenerationOutcome::Code) {
    smod = choice.smod;
  } else {
    for (std::size_t index = 0; index < calculation.mode.size(); ++index) {
      const ModeResult& mode = calculation.mode.at(index);
      if (mode.status == ModeStatus::Ok &&
          (!smod || std::fabs(mode.deviation) < std::fabs(calculation.mode.at(*smod).deviation))) {
        smod = index;
      }
    }
  }
  const std::optional<ExactFrequency> crystal = ReadExactCrystal(calculation.crystalText);
  if (!smod || !crystal) {
    return std::nullopt;
  }
  const ModeResult& mode = calculation.mode.at(*smod);
  return ClassicTimer1Rate(*crystal, static_cast<std::uint32_t>(mode.reload), static_cast<std::uint32_t>(*smod));
}

Fraction SettingRate(const TargetSetting& setting) {
  return Fraction{setting.achievedNumerator, setting.achievedDenominator};
}

double LinkMargin(const LinkCheck& check) {
  return std::min(BindingSense(check.ownToPeer).marginPercent, BindingSense(check.peerToOwn).marginPercent);
}

void WriteLink(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer) {
  if (!question.asked) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("status");
  json.String(answer.status);
  json.Key("peer");
  json.String(Utf8(question.peerText));
  json.Key("baud");
  json.Int(answer.baud);
  json.Key("frame");
  json.String(SerialFrameName(question.frame));
  if (answer.status == "adapterCannot" || answer.status == "targetCannot") {
    json.Key("verdict");
    json.String(LinkVerdictName(LinkVerdict::Fails));
  }
  if (answer.status != "ok") {
    json.EndObject();
    return;
  }
  json.Key("peerName");
  json.String(Utf8(PeerName(question.peer)));
  json.Key("tolerancePpb");
  json.Int(static_cast<std::int64_t>(question.tolerance.partsPerBillion));
  json.Key("verdict");
  json.String(LinkVerdictName(answer.check.verdict));
  json.Key("ownToPeer");
  WriteDirection(json, answer.check.ownToPeer);
  json.Key("peerToOwn");
  WriteDirection(json, answer.check.peerToOwn);
  json.Key("margin");
  json.DoubleBits(LinkMargin(answer.check));
  json.Key("marginText");
  json.String(FormatDeviation(LinkMargin(answer.check)));
  json.Key("maxOwnTolerancePpm");
  if (answer.check.maxOwnTolerancePpm) {
    json.Int(*answer.check.maxOwnTolerancePpm);
  } else {
    json.Null();
  }
  json.Key("peerSetting");
  WritePeerSetting(json, answer.peer);
  json.EndObject();
}

void WriteLinkSummary(JsonWriter& json, const LinkQuestion& question, const LinkAnswer& answer) {
  if (!question.asked) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("status");
  json.String(answer.status);
  if (answer.status == "ok") {
    json.Key("verdict");
    json.String(LinkVerdictName(answer.check.verdict));
    json.Key("margin");
    json.DoubleBits(LinkMargin(answer.check));
    json.Key("marginText");
    json.String(FormatDeviation(LinkMargin(answer.check)));
  }
  json.EndObject();
}

std::vector<std::size_t> FinderOrder(std::span<const LinkAnswer> answers, bool rankByLink) {
  std::vector<std::size_t> order(answers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (rankByLink) {
    std::stable_sort(order.begin(), order.end(), [answers](std::size_t a, std::size_t b) {
      const bool aChecked = answers[a].status == "ok";
      const bool bChecked = answers[b].status == "ok";
      if (aChecked != bChecked) {
        return aChecked;
      }
      return aChecked && LinkMargin(answers[a].check) > LinkMargin(answers[b].check);
    });
  }
  return order;
}

std::optional<std::string> LinkNote(const LinkQuestion& question, const LinkAnswer& answer, Language language) {
  if (!question.asked) {
    return std::nullopt;
  }
  const std::string peer = PeerName(question.peer);
  if (answer.status == "adapterCannot" || answer.status == "targetCannot") {
    return LinkCodeNoteText(peer, answer.baud, nullptr, language);
  }
  if (answer.status != "ok") {
    return std::nullopt;
  }
  return LinkCodeNoteText(peer, answer.baud, &answer.check, language);
}

std::vector<std::string> LinkNotes(const LinkQuestion& question, const LinkAnswer& answer, Language language) {
  std::vector<std::string> notes;
  if (std::optional<std::string> note = LinkNote(question, answer, language)) {
    notes.push_back(std::move(*note));
  }
  return notes;
}

}  // namespace tesmirol::web
