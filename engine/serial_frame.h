#pragma once
// The shape of one character on the serial line: data bits, parity and stop
// bits, read from the usual short text ("8N1", "8E1", "9N1", "8N2"), and
// which mode of the 8051's UART carries it.
//
// The 8051's UART sends and receives a start bit, then 8 bits (mode 1) or 9
// bits (mode 3, the ninth from TB8 and into RB8), then one stop bit. Mode 1
// carries 8N1. Mode 3 carries every frame of ten bits after the start bit:
// 9N1, 8 data bits with a parity bit the program works out into TB8 (8E1,
// 8O1) or a fixed one (8M1, 8S1), and 8N2, whose first stop bit is TB8 = 1
// (a receiver checks the first stop bit only; the second is idle line).
// Longer frames (9E1, 8E2) the UART cannot carry.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmirol {

enum class Parity { None, Even, Odd, Mark, Space };

struct SerialFrame {
  std::uint32_t dataBits = 8;  // 8 or 9
  Parity parity = Parity::None;
  std::uint32_t stopBits = 1;  // 1 or 2
};

// The 8051's UART mode that carries a frame.
enum class FrameUartMode { Mode1, Mode3 };

// Reads "8N1", "8e1", "9N1" ...: the data bits, the parity letter (N, E, O,
// M, S in any case) and the stop bits, nothing else. No result for a frame
// the 8051's UART cannot carry ("7N1", "9E1", "8E2") or for anything that is
// no frame; SerialFrameNames lists what is valid.
std::optional<SerialFrame> ReadSerialFrame(std::string_view text);

// Every frame ReadSerialFrame accepts, as the user writes it, 8N1 first.
std::span<const std::string_view> SerialFrameNames() noexcept;

// The frame's short text ("8E1").
std::string SerialFrameName(const SerialFrame& frame);

// The bits a receiver samples: start, data, parity, the first stop bit.
std::uint32_t SampledBits(const SerialFrame& frame) noexcept;

// The bits of one character on the line, every stop bit included.
std::uint32_t FrameBits(const SerialFrame& frame) noexcept;

// Mode 1 for 8N1, mode 3 for every other frame ReadSerialFrame accepts.
FrameUartMode FrameUartModeOf(const SerialFrame& frame) noexcept;

// What the ninth bit of a mode-3 frame carries, as the code texts name
// it: "even" or "odd" (the data's parity bit), "mark" (1: 8M1, and 8N2's
// first stop bit), "space" (0) or "data" (the program's own ninth data bit,
// 9N1); empty for a mode-1 frame.
std::string_view NinthBitName(const SerialFrame& frame) noexcept;

// The parity bit of the data bits under the frame's parity (the value of
// the bit sent after the data); no result for Parity::None.
std::optional<bool> ParityBit(Parity parity, std::uint32_t data, std::uint32_t dataBits) noexcept;

}  // namespace tesmirol
