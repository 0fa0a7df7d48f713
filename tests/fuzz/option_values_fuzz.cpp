// Fuzzes the readers of the option values tesmirol-cli takes since the
// planner, the link check and the clock finder came: each reader gets the
// whole input as its text. A value read must be one the option allows, and
// must read back the same from the text the program writes for it (the
// frame's name, the tolerance in ppm, the peer's name, the range's hertz).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/option_values.h"
#include "engine/clock_planner.h"
#include "engine/clock_tolerance.h"
#include "engine/exact_crystal.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"
#include "engine/target_catalogue.h"
#include "fuzz/fuzz_check.h"

namespace tesmirol::fuzz {
namespace {

void CheckRates(std::string_view text) {
  const auto rates = cli::ParseRates(text);
  if (!rates) {
    return;
  }
  Require(rates->size() == static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1,
          "one rate per comma-separated text");
  std::string written;
  for (const std::int32_t rate : *rates) {
    Require(rate > 0, "every rate above 0");
    written += (written.empty() ? "" : ",") + std::to_string(rate);
  }
  Require(cli::ParseRates(written) == rates, "the rates read back from their decimal list");
}

void CheckClockRange(std::string_view text) {
  cli::ClockRange range;
  if (cli::ParseClockRange(text, range)) {
    return;
  }
  Require(range.low > 0 && range.low <= range.high && range.high <= kMaxClockHz,
          "a range of whole hertz above 0, upward, within the finder's reach");
  Require(range.given == text, "the range keeps its text for messages");
  cli::ClockRange again;
  Require(!cli::ParseClockRange(std::to_string(range.low) + ".." + std::to_string(range.high), again) &&
              again.low == range.low && again.high == range.high,
          "the range reads back from its hertz");
}

void CheckUartChoice(std::string_view text) {
  cli::UartChoice choice;
  const std::optional<std::string> problem = cli::ParseUartChoice(text, choice, Language::English);
  if (problem) {
    Require(!problem->empty(), "a refused --uart says why");
    return;
  }
  Require(CanonicalUartName(choice.uart) == choice.uart, "the UART under the catalogue's name");
  Require(choice.baud.has_value() == (text.find(':') != std::string_view::npos), "a rate exactly after a colon");
  Require(!choice.baud || *choice.baud > 0, "a --uart rate above 0");
}

void CheckNumbers(std::string_view text) {
  if (const auto percent = cli::ParsePercent(text)) {
    Require(*percent >= 0.0 && *percent <= 1e308, "a percentage finite and not negative");
  }
  if (const auto reload = cli::ParseReload(text)) {
    Require(*reload <= 0xFFFFU, "a reload of at most 16 bits");
  }
}

void CheckFrame(std::string_view text) {
  const auto frame = ReadSerialFrame(text);
  if (!frame) {
    return;
  }
  const std::string name = SerialFrameName(*frame);
  const auto names = SerialFrameNames();
  Require(std::find(names.begin(), names.end(), name) != names.end(), "a frame read is one of the frames listed");
  const auto again = ReadSerialFrame(name);
  Require(again && again->dataBits == frame->dataBits && again->parity == frame->parity &&
              again->stopBits == frame->stopBits,
          "the frame reads back from its name");
  Require((FrameUartModeOf(*frame) == FrameUartMode::Mode1) == (name == "8N1"), "mode 1 carries 8N1 alone");
  const std::uint32_t parityBits = frame->parity == Parity::None ? 0 : 1;
  Require(SampledBits(*frame) == 1 + frame->dataBits + parityBits + 1, "start, data, parity and one stop bit sampled");
  Require(FrameBits(*frame) == 1 + frame->dataBits + parityBits + frame->stopBits, "every stop bit on the line");
  Require(FrameBits(*frame) == (FrameUartModeOf(*frame) == FrameUartMode::Mode1 ? 10U : 11U),
          "10 bits in mode 1, 11 in mode 3");
}

// The tolerance written in ppm with three decimals, exactly its ppb.
std::string PpmText(std::uint64_t partsPerBillion) {
  std::string fraction = std::to_string(partsPerBillion % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return std::to_string(partsPerBillion / 1000) + "." + fraction + "ppm";
}

void CheckTolerance(std::string_view text) {
  const ToleranceReading reading = ReadClockTolerance(text);
  if (reading.status != ToleranceStatus::Ok) {
    return;
  }
  const std::uint64_t ppb = reading.tolerance.partsPerBillion;
  Require(ppb < kToleranceLimitPpb, "a tolerance below 10 %");
  const ToleranceReading again = ReadClockTolerance(PpmText(ppb));
  Require(again.status == ToleranceStatus::Ok && again.tolerance.partsPerBillion == ppb,
          "the tolerance reads back from its ppm");
}

void CheckPeer(std::string_view text) {
  const PeerReading reading = ReadPeer(text);
  if (reading.status == PeerReadStatus::BadTolerance) {
    Require(reading.toleranceStatus != ToleranceStatus::Ok, "a bad tolerance says what is wrong with it");
  }
  if (reading.status != PeerReadStatus::Ok) {
    return;
  }
  const PeerSpec& peer = reading.peer;
  if (peer.kind == PeerKind::Target) {
    Require(!FindBaudTargets(peer.target).empty(), "a second 8051 of the catalogue");
    Require(ReadExactCrystal(peer.crystalText).has_value(), "a second 8051 on a crystal read exactly");
    Require(peer.tolerance.partsPerBillion < kToleranceLimitPpb, "a second 8051's tolerance below 10 %");
  }
  const PeerReading again = ReadPeer(PeerName(peer));
  Require(again.status == PeerReadStatus::Ok && again.peer.kind == peer.kind && again.peer.adapter == peer.adapter &&
              again.peer.target == peer.target && again.peer.crystalText == peer.crystalText,
          "the peer reads back from its name");
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol::fuzz;
  const std::string_view text = AsText(data, size);
  CheckRates(text);
  CheckClockRange(text);
  CheckUartChoice(text);
  CheckNumbers(text);
  CheckFrame(text);
  CheckTolerance(text);
  CheckPeer(text);
  return 0;
}
