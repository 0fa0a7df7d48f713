#include "answers/link_answer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "answers/setting_json.h"
#include "codegen/init_code_generator.h"
#include "engine/deviation_text.h"
#include "engine/exact_crystal.h"
#include "engine/link_texts.h"
#include "engine/usb_adapter_rates.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

void WriteFraction(JsonWriter& json, const Fraction& fraction, bool withValue) {
  json.BeginObject();
  json.CountMember("numerator", fraction.numerator);
  json.CountMember("denominator", fraction.denominator);
  if (withValue) {
    json.DoubleMember("value", FractionValue(fraction));
  }
  json.EndObject();
}

void WriteSense(JsonWriter& json, const MismatchSense& sense) {
  json.BeginObject();
  json.StringMember("verdict", LinkVerdictName(sense.verdict));
  json.DoubleMember("worstPercent", sense.worstPercent);
  json.DoubleMember("limitPercent", sense.limitPercent);
  json.DoubleMember("marginPercent", sense.marginPercent);
  json.Key("limit");
  WriteFraction(json, sense.limit, false);
  if (json.ForPage()) {
    json.StringMember("worstText", FormatDeviation(sense.worstPercent));
    json.StringMember("limitText", FormatDeviation(sense.limitPercent));
    json.StringMember("marginText", FormatDeviation(sense.marginPercent));
  }
  json.EndObject();
}

void WriteDirection(JsonWriter& json, const LinkDirection& direction) {
  json.BeginObject();
  json.StringMember("verdict", LinkVerdictName(direction.verdict));
  json.StringMember("binding", direction.fastBinds ? "fast" : "slow");
  json.Key("fast");
  WriteSense(json, direction.fast);
  json.Key("slow");
  WriteSense(json, direction.slow);
  json.EndObject();
}

void WriteReceiver(JsonWriter& json, const PeerSpec& peer, const ReceiverModel& receiver) {
  json.BeginObject();
  json.Key("kind");
  if (receiver.kind == ReceiverModelKind::StatedLimit) {
    json.String("StatedLimit");
    json.Key("statedLimit");
    WriteFraction(json, receiver.statedLimit, false);
  } else {
    json.String("Sampling");
    json.IntMember("oversampling", receiver.scheme.oversampling);
    json.IntMember("decisionTick", receiver.scheme.decisionTick);
    json.IntMember("votedSamples", receiver.scheme.votedSamples);
  }
  json.BoolMember("assumed", peer.kind == PeerKind::Adapter && AdapterFacts(peer.adapter).receiverAssumed);
  json.EndObject();
}

std::string_view PeerKindName(PeerKind kind) noexcept {
  switch (kind) {
    case PeerKind::Adapter:
      return "adapter";
    case PeerKind::Target:
      return "target";
    case PeerKind::Ideal:
      break;
  }
  return "ideal";
}

void WriteOptionalPpm(JsonWriter& json, const std::optional<std::uint32_t>& ppm) {
  if (ppm) {
    json.Int(*ppm);
  } else {
    json.Null();
  }
}

// The link's verdict, null when there was nothing to check.
void WriteVerdict(JsonWriter& json, const LinkAnswer& answer) {
  json.Key("verdict");
  if (const std::optional<LinkVerdict> verdict = AnswerVerdict(answer)) {
    json.String(LinkVerdictName(*verdict));
  } else {
    json.Null();
  }
}

// For the page: a checked link's margin (bits) and its two-decimal text.
void WritePageMargin(JsonWriter& json, const LinkAnswer& answer) {
  if (json.ForPage() && answer.check) {
    json.Key("margin");
    json.DoubleBits(LinkMargin(*answer.check));
    json.StringMember("marginText", FormatDeviation(LinkMargin(*answer.check)));
  }
}

}  // namespace

std::string_view LinkStatusName(LinkStatus status) noexcept {
  switch (status) {
    case LinkStatus::Checked:
      return "Checked";
    case LinkStatus::PeerCannot:
      return "PeerCannot";
    case LinkStatus::NoExactRate:
      return "NoExactRate";
    case LinkStatus::NoSetting:
      break;
  }
  return "NoSetting";
}

std::optional<std::size_t> ClassicLinkSmod(const BaudCalculation& calculation) {
  const InitCodeChoice choice = ChooseInitCodeSetting(calculation);
  if (choice.outcome == GenerationOutcome::Code) {
    return choice.smod;
  }
  std::optional<std::size_t> nearest;
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    const ModeResult& mode = calculation.mode.at(smod);
    if (mode.status == ModeStatus::Ok &&
        (!nearest || std::fabs(mode.deviation) < std::fabs(calculation.mode.at(*nearest).deviation))) {
      nearest = smod;
    }
  }
  return nearest;
}

OwnRate ClassicOwnRate(const BaudCalculation& calculation) {
  const std::optional<std::size_t> smod = ClassicLinkSmod(calculation);
  if (!smod) {
    return {};
  }
  const std::optional<ExactFrequency> crystal = ReadExactCrystal(calculation.crystalText);
  const auto reload = static_cast<std::uint32_t>(calculation.mode.at(*smod).reload);
  const std::optional<Fraction> rate =
      crystal ? ClassicTimer1Rate(*crystal, reload, static_cast<std::uint32_t>(*smod)) : std::nullopt;
  return OwnRate{rate, !rate};
}

OwnRate SettingOwnRate(const TargetSetting* setting) {
  if (setting == nullptr) {
    return {};
  }
  return OwnRate{Fraction{setting->achievedNumerator, setting->achievedDenominator}, false,
                 Fraction{setting->edgeShiftNumerator, setting->edgeShiftDenominator}};
}

LinkAnswer CheckLinkAt(const LinkAsk& ask, const OwnRate& own, std::int32_t baud, std::string uart) {
  LinkAnswer answer;
  answer.uart = std::move(uart);
  answer.baud = baud;
  if (!own.rate) {
    answer.status = own.noExactRate ? LinkStatus::NoExactRate : LinkStatus::NoSetting;
    return answer;
  }
  answer.own = Uart8051End(*own.rate, ask.ownTolerance, own.edgeShift);
  answer.peer = ResolvePeer(ask.peer, baud);
  if (answer.peer.status != PeerEndStatus::Ok) {
    answer.status = LinkStatus::PeerCannot;
    return answer;
  }
  answer.check = CheckLink(answer.own, answer.peer.end, ask.frame);
  answer.status = LinkStatus::Checked;
  return answer;
}

std::optional<LinkVerdict> AnswerVerdict(const LinkAnswer& answer) noexcept {
  if (answer.status == LinkStatus::Checked) {
    return answer.check->verdict;
  }
  if (answer.status == LinkStatus::PeerCannot) {
    return LinkVerdict::Fails;
  }
  return std::nullopt;
}

double LinkMargin(const LinkCheck& check) {
  return std::min(BindingSense(check.ownToPeer).marginPercent, BindingSense(check.peerToOwn).marginPercent);
}

std::optional<std::string> LinkCodeNote(const PeerSpec& peer, const LinkAnswer& answer, Language language) {
  if (answer.status == LinkStatus::PeerCannot) {
    return LinkCodeNoteText(PeerName(peer), answer.baud, nullptr, language);
  }
  if (answer.status != LinkStatus::Checked) {
    return std::nullopt;
  }
  return LinkCodeNoteText(PeerName(peer), answer.baud, &*answer.check, language);
}

std::vector<std::string> LinkCodeNotes(const PeerSpec& peer, const LinkAnswer& answer, Language language) {
  std::vector<std::string> notes;
  if (std::optional<std::string> note = LinkCodeNote(peer, answer, language)) {
    notes.push_back(std::move(*note));
  }
  return notes;
}

LinkRank RankOfLinks(std::span<const LinkAnswer> answers) {
  LinkRank rank;
  bool first = true;
  for (const LinkAnswer& answer : answers) {
    const LinkVerdict verdict = AnswerVerdict(answer).value_or(LinkVerdict::Fails);
    const std::optional<std::uint32_t> tolerance =
        answer.check ? answer.check->maxOwnTolerancePpm : std::optional<std::uint32_t>();
    if (static_cast<int>(verdict) > static_cast<int>(rank.verdict)) {
      rank.verdict = verdict;
    }
    if (first || !tolerance || (rank.maxOwnTolerancePpm && *tolerance < *rank.maxOwnTolerancePpm)) {
      rank.maxOwnTolerancePpm = tolerance;
    }
    first = false;
  }
  return rank;
}

bool RanksBefore(const LinkRank& a, const LinkRank& b) noexcept {
  if (a.verdict != b.verdict) {
    return static_cast<int>(a.verdict) < static_cast<int>(b.verdict);
  }
  if (a.maxOwnTolerancePpm.has_value() != b.maxOwnTolerancePpm.has_value()) {
    return a.maxOwnTolerancePpm.has_value();
  }
  return a.maxOwnTolerancePpm && *a.maxOwnTolerancePpm > *b.maxOwnTolerancePpm;
}

void WriteLink(JsonWriter& json, const LinkAsk& ask, const LinkAnswer& answer) {
  json.BeginObject();
  json.StringMember("peer", text::GbkToUtf8(PeerName(ask.peer)).value_or(std::string()));
  json.StringMember("peerKind", PeerKindName(ask.peer.kind));
  json.IntMember("baud", answer.baud);
  json.StringMember("frame", SerialFrameName(ask.frame));
  json.IntMember("uartMode", FrameUartModeOf(ask.frame) == FrameUartMode::Mode1 ? 1 : 3);
  json.StringMember("status", LinkStatusName(answer.status));
  WriteVerdict(json, answer);
  json.IntMember("ownTolerancePpb", static_cast<std::int64_t>(ask.ownTolerance.partsPerBillion));
  if (answer.status != LinkStatus::Checked) {
    json.EndObject();
    return;
  }
  const LinkCheck& check = *answer.check;
  json.Key("ownRate");
  WriteFraction(json, answer.own.rate, true);
  json.Key("peerRate");
  WriteFraction(json, answer.peer.end.rate, true);
  json.IntMember("peerTolerancePpb", static_cast<std::int64_t>(answer.peer.end.tolerance.partsPerBillion));
  json.Key("peerReceiver");
  WriteReceiver(json, ask.peer, answer.peer.end.receiver);
  if (answer.peer.target != nullptr) {
    json.StringMember("peerTarget", answer.peer.target->name);
    json.Key("peerSetting");
    WriteSetting(json, *answer.peer.target, answer.peer.setting);
  }
  json.Key("ownToPeer");
  WriteDirection(json, check.ownToPeer);
  json.Key("peerToOwn");
  WriteDirection(json, check.peerToOwn);
  json.Key("maxOwnTolerancePpm");
  WriteOptionalPpm(json, check.maxOwnTolerancePpm);
  WritePageMargin(json, answer);
  json.EndObject();
}

void WriteLinkSummary(JsonWriter& json, const LinkAnswer& answer) {
  json.BeginObject();
  json.StringMember("status", LinkStatusName(answer.status));
  WriteVerdict(json, answer);
  json.Key("maxOwnTolerancePpm");
  WriteOptionalPpm(json, answer.check ? answer.check->maxOwnTolerancePpm : std::nullopt);
  WritePageMargin(json, answer);
  json.EndObject();
}

}  // namespace tesmirol::answers
