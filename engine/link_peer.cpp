#include "engine/link_peer.h"

#include <array>
#include <string>

#include "engine/exact_crystal.h"
#include "engine/part_catalogue.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

namespace tesmirol {
namespace {

constexpr std::array<std::string_view, 7> kPeerNames{"ch340",  "cp2102", "cp2104", "ft232r",
                                                     "ft232h", "pl2303", "ideal"};

bool IsIdealName(std::string_view text) noexcept {
  constexpr std::string_view kIdeal = "ideal";
  if (text.size() != kIdeal.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (ch != kIdeal[i]) {
      return false;
    }
  }
  return true;
}

// The ideal peer's receiver: the common 16x scheme.
constexpr ReceiverModel kIdealReceiver{ReceiverModelKind::Sampling, k8051Sampling, {}};

}  // namespace

PeerReading ReadPeer(std::string_view text) {
  PeerReading reading;
  if (const auto adapter = FindUsbAdapter(text)) {
    reading.status = PeerReadStatus::Ok;
    reading.peer.kind = PeerKind::Adapter;
    reading.peer.adapter = *adapter;
    return reading;
  }
  if (IsIdealName(text)) {
    reading.status = PeerReadStatus::Ok;
    reading.peer.kind = PeerKind::Ideal;
    return reading;
  }
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos || at == 0) {
    return reading;
  }
  const std::string_view name = text.substr(0, at);
  std::string_view crystal = text.substr(at + 1);
  std::string_view tolerance;
  const std::size_t comma = crystal.find(',');
  if (comma != std::string_view::npos) {
    tolerance = crystal.substr(comma + 1);
    crystal = crystal.substr(0, comma);
  }
  // A part number printed on the other chip stands for its family.
  std::string target = CatalogueChipName(name);
  if (FindBaudTargets(target).empty()) {
    reading.status = PeerReadStatus::UnknownTarget;
    return reading;
  }
  if (crystal.empty() || !ReadExactCrystal(crystal)) {
    reading.status = PeerReadStatus::BadCrystal;
    return reading;
  }
  reading.peer.kind = PeerKind::Target;
  reading.peer.target = std::move(target);
  reading.peer.crystalText = std::string(crystal);
  reading.peer.tolerance = kDefaultCrystalTolerance;
  if (comma != std::string_view::npos) {
    const ToleranceReading read = ReadClockTolerance(tolerance);
    if (read.status != ToleranceStatus::Ok) {
      reading.status = PeerReadStatus::BadTolerance;
      reading.toleranceStatus = read.status;
      return reading;
    }
    reading.peer.tolerance = read.tolerance;
  }
  reading.status = PeerReadStatus::Ok;
  return reading;
}

std::span<const std::string_view> PeerNames() noexcept { return kPeerNames; }

PeerEnd ResolvePeer(const PeerSpec& peer, std::int32_t baud) {
  PeerEnd result;
  const auto rate = static_cast<std::uint32_t>(baud > 0 ? baud : 0);
  switch (peer.kind) {
    case PeerKind::Ideal:
      result.end = LinkEnd{Fraction{rate, 1}, ClockTolerance{0}, kIdealReceiver};
      return result;
    case PeerKind::Adapter: {
      const auto achieved = AdapterRate(peer.adapter, rate);
      if (!achieved) {
        result.status = PeerEndStatus::AdapterCannot;
        return result;
      }
      result.end = LinkEnd{*achieved, AdapterFacts(peer.adapter).clock, AdapterReceiver(peer.adapter, rate)};
      return result;
    }
    case PeerKind::Target:
      break;
  }
  const auto inputs = ReadTargetInputs(peer.crystalText, std::to_string(baud));
  const std::vector<const BaudTarget*> targets = FindBaudTargets(peer.target);
  if (!inputs || targets.empty()) {
    result.status = PeerEndStatus::TargetCannot;
    return result;
  }
  const FamilySolution solved = SolveTargets(targets, *inputs);
  if (!solved.best) {
    result.status = PeerEndStatus::TargetCannot;
    return result;
  }
  const TargetSolution& best = solved.solutions.at(*solved.best);
  result.target = best.target;
  result.setting = best.best;
  result.end = Uart8051End(Fraction{best.best.achievedNumerator, best.best.achievedDenominator}, peer.tolerance,
                           Fraction{best.best.edgeShiftNumerator, best.best.edgeShiftDenominator});
  return result;
}

std::string PeerName(const PeerSpec& peer) {
  switch (peer.kind) {
    case PeerKind::Adapter:
      return std::string(AdapterFacts(peer.adapter).name);
    case PeerKind::Ideal:
      return "ideal";
    case PeerKind::Target:
      break;
  }
  return peer.target + "@" + peer.crystalText;
}

}  // namespace tesmirol
