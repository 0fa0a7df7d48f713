#include "engine/serial_frame.h"

#include <array>
#include <bit>

namespace tesmirol {
namespace {

constexpr std::array<std::string_view, 7> kFrameNames{"8N1", "8E1", "8O1", "8M1", "8S1", "8N2", "9N1"};

// The parity a letter names, in any case.
std::optional<Parity> ParityOfLetter(char letter) noexcept {
  switch (letter) {
    case 'N':
    case 'n':
      return Parity::None;
    case 'E':
    case 'e':
      return Parity::Even;
    case 'O':
    case 'o':
      return Parity::Odd;
    case 'M':
    case 'm':
      return Parity::Mark;
    case 'S':
    case 's':
      return Parity::Space;
    default:
      return std::nullopt;
  }
}

char ParityLetter(Parity parity) noexcept {
  switch (parity) {
    case Parity::Even:
      return 'E';
    case Parity::Odd:
      return 'O';
    case Parity::Mark:
      return 'M';
    case Parity::Space:
      return 'S';
    case Parity::None:
      break;
  }
  return 'N';
}

}  // namespace

std::optional<SerialFrame> ReadSerialFrame(std::string_view text) {
  if (text.size() != 3 || (text[0] != '8' && text[0] != '9') || (text[2] != '1' && text[2] != '2')) {
    return std::nullopt;
  }
  const auto parity = ParityOfLetter(text[1]);
  if (!parity) {
    return std::nullopt;
  }
  const SerialFrame frame{static_cast<std::uint32_t>(text[0] - '0'), *parity,
                          static_cast<std::uint32_t>(text[2] - '0')};
  // After the start bit the UART carries nine bits (mode 1) or ten (mode 3).
  if (FrameBits(frame) > 11) {
    return std::nullopt;
  }
  return frame;
}

std::span<const std::string_view> SerialFrameNames() noexcept { return kFrameNames; }

std::string SerialFrameName(const SerialFrame& frame) {
  std::string name;
  name += static_cast<char>('0' + frame.dataBits);
  name += ParityLetter(frame.parity);
  name += static_cast<char>('0' + frame.stopBits);
  return name;
}

std::uint32_t SampledBits(const SerialFrame& frame) noexcept {
  return 1 + frame.dataBits + (frame.parity == Parity::None ? 0U : 1U) + 1;
}

std::uint32_t FrameBits(const SerialFrame& frame) noexcept { return SampledBits(frame) - 1 + frame.stopBits; }

FrameUartMode FrameUartModeOf(const SerialFrame& frame) noexcept {
  return FrameBits(frame) == 10 ? FrameUartMode::Mode1 : FrameUartMode::Mode3;
}

std::optional<bool> ParityBit(Parity parity, std::uint32_t data, std::uint32_t dataBits) noexcept {
  const std::uint32_t mask = dataBits >= 32 ? ~0U : (1U << dataBits) - 1U;
  const bool oddOnes = (std::popcount(data & mask) % 2) == 1;
  switch (parity) {
    case Parity::Even:
      return oddOnes;  // makes the count of ones even
    case Parity::Odd:
      return !oddOnes;
    case Parity::Mark:
      return true;
    case Parity::Space:
      return false;
    case Parity::None:
      break;
  }
  return std::nullopt;
}

std::string_view NinthBitName(const SerialFrame& frame) noexcept {
  if (FrameUartModeOf(frame) == FrameUartMode::Mode1) {
    return {};
  }
  if (frame.dataBits == 9) {
    return "data";
  }
  switch (frame.parity) {
    case Parity::Even:
      return "even";
    case Parity::Odd:
      return "odd";
    case Parity::Space:
      return "space";
    case Parity::Mark:
    case Parity::None:  // 8N2: the first stop bit
      break;
  }
  return "mark";
}

}  // namespace tesmirol
