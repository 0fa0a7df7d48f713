#include "cli/link_report.h"

#include "cli/target_report.h"
#include "engine/deviation_text.h"
#include "engine/link_texts.h"
#include "engine/target_texts.h"
#include "engine/texts.h"
#include "engine/usb_adapter_rates.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

constexpr std::uint64_t kPpbPerPpm = 1000;

// value / scale (a power of ten) as a decimal without trailing zeros
// ("1.5", "100").
std::string ExactDecimal(std::uint64_t value, std::uint64_t scale) {
  std::string text = std::to_string(value / scale);
  const std::uint64_t rest = value % scale;
  if (rest == 0) {
    return text;
  }
  std::string digits = std::to_string(scale + rest).substr(1);  // the rest with its leading zeros
  digits.erase(digits.find_last_not_of('0') + 1);
  return text + "." + digits;
}

// The mismatch with its sign: + when the transmitter runs fast, - slow.
std::string SignedMismatch(const MismatchSense& sense, bool fast) {
  if (sense.worstPercent == 0.0) {
    return FormatDeviation(0.0);
  }
  if (!fast) {
    return FormatDeviation(-sense.worstPercent);
  }
  std::string text(1, '+');
  text += FormatDeviation(sense.worstPercent);
  return text;
}

std::string RateText(const Fraction& rate) { return DecimalText(FractionValue(rate)); }

// A note on where the receiver's limit comes from: a stated figure, or a
// sampling scheme no data sheet states.
std::string ReceiverNote(const PeerSpec& peer, const LinkEnd& receiver, bool peerReceives, Language language) {
  if (!peerReceives) {
    return {};
  }
  if (receiver.receiver.kind == ReceiverModelKind::StatedLimit) {
    return std::string(Text(language, TextKey::LinkStated));
  }
  if (peer.kind == PeerKind::Adapter && AdapterFacts(peer.adapter).receiverAssumed) {
    return FormatText(language, TextKey::LinkAssumed,
                      {{"ticks", std::to_string(receiver.receiver.scheme.oversampling)}});
  }
  return {};
}

std::string DirectionLine(const LinkRequest& request, const LinkOutcome& outcome, bool ownSends, Language language) {
  const LinkDirection& direction = ownSends ? outcome.check->ownToPeer : outcome.check->peerToOwn;
  const MismatchSense& sense = BindingSense(direction);
  const std::string peerName = PeerName(request.peer);
  return FormatText(language, TextKey::LinkDirection,
                    {{"from", ownSends ? std::string("8051") : peerName},
                     {"to", ownSends ? peerName : std::string("8051")},
                     {"worst", SignedMismatch(sense, direction.fastBinds)},
                     {"limit", FormatDeviation(sense.limitPercent)},
                     {"margin", FormatDeviation(sense.marginPercent)},
                     {"verdict", LinkVerdictText(direction.verdict, language)},
                     {"note", ReceiverNote(request.peer, outcome.peer.end, ownSends, language)}}) +
         "\n";
}

// Why the peer cannot take part, GBK.
std::string PeerCannotText(const LinkRequest& request, const LinkOutcome& outcome, Language language) {
  const std::string peerName = PeerName(request.peer);
  if (outcome.peer.status == PeerEndStatus::AdapterCannot) {
    const UsbAdapterFacts& facts = AdapterFacts(request.peer.adapter);
    return FormatText(language, TextKey::LinkCannotAdapter,
                      {{"peer", peerName},
                       {"baud", std::to_string(outcome.baud)},
                       {"low", std::to_string(facts.minBaud)},
                       {"high", std::to_string(facts.maxBaud)}});
  }
  return FormatText(language, TextKey::LinkCannotTarget, {{"peer", peerName}, {"baud", std::to_string(outcome.baud)}});
}

std::string UartPrefix(const LinkOutcome& outcome) { return outcome.uart.empty() ? std::string() : outcome.uart + " "; }

}  // namespace

answers::LinkAsk LinkAskOf(const LinkRequest& request) {
  return answers::LinkAsk{request.peer, request.ownTolerance, request.frame};
}

std::string LinkReportLines(const LinkRequest& request, const LinkOutcome& outcome, Language language) {
  if (outcome.status == answers::LinkStatus::NoSetting || outcome.status == answers::LinkStatus::NoExactRate) {
    const TextKey key =
        outcome.status == answers::LinkStatus::NoSetting ? TextKey::LinkNoSetting : TextKey::LinkNoExactRate;
    return FormatText(language, key, {{"uart", UartPrefix(outcome)}}) + "\n";
  }
  const std::string peerName = PeerName(request.peer);
  std::string lines = FormatText(language, TextKey::LinkHead,
                                 {{"uart", UartPrefix(outcome)},
                                  {"peer", peerName},
                                  {"baud", std::to_string(outcome.baud)},
                                  {"frame", SerialFrameName(request.frame)},
                                  {"mode", FrameUartModeOf(request.frame) == FrameUartMode::Mode1 ? "1" : "3"}}) +
                      "\n";
  if (outcome.status == answers::LinkStatus::PeerCannot) {
    lines += "  " + PeerCannotText(request, outcome, language) + "\n";
    lines += FormatText(language, TextKey::LinkMaxToleranceNone,
                        {{"verdict", LinkVerdictText(LinkVerdict::Fails, language)}}) +
             "\n";
    return lines;
  }
  lines += FormatText(language, TextKey::LinkRates,
                      {{"own", RateText(outcome.own.rate)},
                       {"ownTolerance", ToleranceText(outcome.own.tolerance.partsPerBillion)},
                       {"peer", peerName},
                       {"other", RateText(outcome.peer.end.rate)},
                       {"otherTolerance", ToleranceText(outcome.peer.end.tolerance.partsPerBillion)}}) +
           "\n";
  lines += DirectionLine(request, outcome, true, language);
  lines += DirectionLine(request, outcome, false, language);
  const LinkCheck& check = *outcome.check;
  if (check.maxOwnTolerancePpm) {
    lines += FormatText(language, TextKey::LinkMaxTolerance,
                        {{"verdict", LinkVerdictText(check.verdict, language)},
                         {"max", ToleranceText(std::uint64_t{*check.maxOwnTolerancePpm} * kPpbPerPpm)},
                         {"ppm", std::to_string(*check.maxOwnTolerancePpm)}});
  } else {
    lines +=
        FormatText(language, TextKey::LinkMaxToleranceNone, {{"verdict", LinkVerdictText(check.verdict, language)}});
  }
  return lines + "\n";
}

std::string InsertLinkLines(std::string report, std::string_view codeText, std::string_view linkLines) {
  const std::size_t code = codeText.empty() ? std::string::npos : report.rfind(codeText);
  if (code != std::string::npos && code >= 2 && report[code - 1] == '\n' && report[code - 2] == '\n') {
    report.insert(code - 1, linkLines);
    return report;
  }
  report += linkLines;
  return report;
}

std::optional<nlohmann::ordered_json> LinkJson(const LinkRequest& request, const LinkOutcome& outcome) {
  if (!text::GbkToUtf8(PeerName(request.peer))) {
    return std::nullopt;
  }
  answers::JsonWriter json(answers::JsonFace::CommandLine);
  answers::WriteLink(json, LinkAskOf(request), outcome);
  return nlohmann::ordered_json::parse(json.Text());
}

bool WriteLinkMember(answers::JsonWriter& json, const LinkRequest& request, const LinkOutcome& outcome) {
  if (!text::GbkToUtf8(PeerName(request.peer))) {
    return false;
  }
  json.Key("link");
  answers::WriteLink(json, LinkAskOf(request), outcome);
  return true;
}

std::optional<std::string> LinkFailure(const LinkRequest& request, const LinkOutcome& outcome, Language language) {
  if (answers::AnswerVerdict(outcome) != LinkVerdict::Fails) {
    return std::nullopt;
  }
  const std::string peerName = PeerName(request.peer);
  std::string gbk;
  if (outcome.status == answers::LinkStatus::PeerCannot) {
    gbk = FormatText(language, TextKey::LinkFailedCannot,
                     {{"peer", peerName}, {"reason", PeerCannotText(request, outcome, language)}});
  } else {
    const bool ownSends = OwnSendingIsWorse(*outcome.check);
    const LinkDirection& direction = WorseDirection(*outcome.check);
    const MismatchSense& sense = BindingSense(direction);
    gbk = FormatText(language, TextKey::LinkFailed,
                     {{"peer", peerName},
                      {"from", ownSends ? std::string("8051") : peerName},
                      {"to", ownSends ? peerName : std::string("8051")},
                      {"worst", SignedMismatch(sense, direction.fastBinds)},
                      {"limit", FormatDeviation(sense.limitPercent)}});
  }
  return UartPrefix(outcome) + text::GbkToUtf8(gbk).value_or(gbk);
}

std::string FinderLinkText(LinkVerdict verdict, std::optional<std::uint32_t> maxOwnTolerancePpm, Language language) {
  if (maxOwnTolerancePpm) {
    return FormatText(language, TextKey::LinkFinderRow,
                      {{"verdict", LinkVerdictText(verdict, language)},
                       {"max", ToleranceText(std::uint64_t{*maxOwnTolerancePpm} * kPpbPerPpm)}});
  }
  return FormatText(language, TextKey::LinkFinderRowNone, {{"verdict", LinkVerdictText(verdict, language)}});
}

std::string ToleranceText(std::uint64_t partsPerBillion) {
  constexpr std::uint64_t kPpbPerPercent = 10'000'000;
  if (partsPerBillion < kPpbPerPercent / 10) {
    return ExactDecimal(partsPerBillion, kPpbPerPpm) + "ppm";
  }
  return ExactDecimal(partsPerBillion, kPpbPerPercent) + "%";
}

}  // namespace tesmirol::cli
