#include "cli/link_options.h"

#include <array>
#include <span>
#include <string_view>
#include <utility>

#include "cli/command_line_options.h"
#include "cli/mode_options.h"
#include "cli/utf8_text.h"
#include "engine/usb_adapter_rates.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// "a, b, c" of the names.
std::string JoinViews(std::span<const std::string_view> names) {
  std::string joined;
  for (const std::string_view name : names) {
    joined += (joined.empty() ? "" : ", ") + std::string(name);
  }
  return joined;
}

std::string AdapterNames() {
  std::string joined;
  for (const UsbAdapter adapter : UsbAdapters()) {
    joined += (joined.empty() ? "" : ", ") + std::string(AdapterFacts(adapter).name);
  }
  return joined;
}

// Why a tolerance text was refused, naming the option it came with.
std::string ToleranceProblem(Language language, ToleranceStatus status, std::string_view option,
                             const std::string& value) {
  TextKey key = TextKey::LinkToleranceNotANumber;
  switch (status) {
    case ToleranceStatus::NoUnit:
      key = TextKey::LinkToleranceNoUnit;
      break;
    case ToleranceStatus::Negative:
      key = TextKey::LinkToleranceNegative;
      break;
    case ToleranceStatus::TooLarge:
      key = TextKey::LinkToleranceTooLarge;
      break;
    case ToleranceStatus::TooFine:
      key = TextKey::LinkToleranceTooFine;
      break;
    case ToleranceStatus::Ok:
    case ToleranceStatus::NotANumber:
      break;
  }
  return Utf8Text(language, key, {{"option", std::string(option)}, {"value", value}});
}

// What is wrong with the --peer text.
std::optional<std::string> ReadPeerText(const std::string& given, Language language, PeerSpec& peer) {
  const auto gbk = text::Utf8ToGbk(given);
  const PeerReading reading = ReadPeer(gbk.value_or(std::string()));
  const std::size_t at = given.find('@');
  const std::string afterAt = at == std::string::npos ? std::string() : given.substr(at + 1);
  switch (reading.status) {
    case PeerReadStatus::Ok:
      peer = reading.peer;
      return std::nullopt;
    case PeerReadStatus::UnknownTarget:
      return Utf8Text(language, TextKey::LinkUnknownTarget, {{"value", given}, {"target", given.substr(0, at)}});
    case PeerReadStatus::BadCrystal:
      return Utf8Text(language, TextKey::LinkBadPeerCrystal,
                      {{"value", given}, {"crystal", afterAt.substr(0, afterAt.find(','))}});
    case PeerReadStatus::BadTolerance: {
      const std::size_t comma = afterAt.find(',');
      return ToleranceProblem(language, reading.toleranceStatus, "--peer \"" + given + "\":",
                              comma == std::string::npos ? std::string() : afterAt.substr(comma + 1));
    }
    case PeerReadStatus::UnknownName:
      break;
  }
  return Utf8Text(language, TextKey::LinkBadPeer, {{"value", given}, {"names", JoinViews(PeerNames())}});
}

}  // namespace

std::optional<std::string> ReadLinkOptions(const LinkOptionTexts& texts, Language language,
                                           CommandLineOptions& options) {
  if (!texts.peerGiven) {
    // --frame alone is the generated code's frame (see CheckFrameOptions).
    const std::array<std::pair<bool, std::string_view>, 2> others = {
        {{texts.toleranceGiven, "--clock-tolerance"}, {texts.requireLink, "--require-link"}}};
    for (const auto& [given, name] : others) {
      if (given) {
        return Utf8Text(language, TextKey::LinkNeedsPeer, {{"option", std::string(name)}});
      }
    }
    return std::nullopt;
  }
  LinkRequest link;
  if (auto problem = ReadPeerText(texts.peer, language, link.peer)) {
    return problem;
  }
  if (texts.toleranceGiven) {
    const ToleranceReading reading = ReadClockTolerance(texts.tolerance);
    if (reading.status != ToleranceStatus::Ok) {
      return ToleranceProblem(language, reading.status, "--clock-tolerance", texts.tolerance);
    }
    link.ownTolerance = reading.tolerance;
  }
  link.frame = options.frame;  // read with the other values; settled by CheckFrameOptions
  link.requireLink = texts.requireLink;
  options.link = link;
  return std::nullopt;
}

std::optional<std::string> CheckLinkOptions(const GivenOptions& given, const CommandLineOptions& options) {
  if (!options.link) {
    return std::nullopt;
  }
  const Language language = options.language;
  const std::string_view view = given.view;
  if (view == "--table" || view == "--reload" || view == "--list-presets" || view == "--list-targets" ||
      view == "--find-clock") {
    return Utf8Text(language, TextKey::LinkNotWithView, {{"view", std::string(view)}});
  }
  if (view == "--rates" && options.link->requireLink) {
    return Utf8Text(language, TextKey::LinkRequireWithRates);
  }
  return std::nullopt;
}

std::string PeerHelp(Language language) {
  return Utf8Text(language, TextKey::LinkHelpPeer, {{"adapters", AdapterNames()}});
}

std::string ClockToleranceHelp(Language language) { return Utf8Text(language, TextKey::LinkHelpClockTolerance); }

std::string FrameHelp(Language language) {
  return Utf8Text(language, TextKey::LinkHelpFrame, {{"frames", JoinViews(SerialFrameNames())}});
}

std::string RequireLinkHelp(Language language) { return Utf8Text(language, TextKey::LinkHelpRequireLink); }

}  // namespace tesmirol::cli
