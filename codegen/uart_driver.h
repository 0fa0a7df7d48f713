#pragma once
// The serial driver of one UART, or of each UART of a plan, in C for Keil
// C51 and SDCC (chosen by __SDCC): the init function as the init code has
// it, then send and receive on ring buffers through the UART's interrupt
// (or by polling its flags), the stdio hooks for the first UART, and counts
// of the bytes lost to a full buffer and of framing errors.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/target_init_code.h"
#include "engine/language.h"

namespace tesmirol {

enum class DriverKind { Interrupt, Polled };
enum class BufferSpace { Idata, Xdata };  // where the ring buffers sit

// The port bit that switches an RS-485 transceiver between sending and
// receiving (its DE and /RE pins tied together), and which level sends.
struct Rs485Pin {
  std::uint32_t port = 3;  // P0 to P3, bit-addressable on every 8051
  std::uint32_t bit = 7;
  bool activeLow = false;  // "!P3.7": 0 sends
};

// Reads "P3.7" (sending at 1) or "!P3.7" (sending at 0); nothing for
// anything else.
std::optional<Rs485Pin> ReadRs485Pin(std::string_view text);

struct DriverOptions {
  DriverKind kind = DriverKind::Interrupt;
  std::uint32_t rxSize = 16;  // bytes, a power of two
  std::uint32_t txSize = 16;
  BufferSpace space = BufferSpace::Idata;
  std::optional<std::uint32_t> registerBank;  // the ISR's "using n", 0 to 3; none by default
  std::optional<Rs485Pin> rs485;              // drive a transceiver's direction pin around each burst
  bool crlf = false;                          // putchar sends "\r\n" for '\n'; raw bytes by default
};

// The buffer sizes the space allows: powers of two from 8 to 128 in idata,
// to 1024 in xdata.
std::vector<std::uint32_t> ValidBufferSizes(BufferSpace space);

// Idata is shared with the registers, variables and stack: the buffers of
// one driver text together take at most this many bytes of it.
inline constexpr std::uint32_t kIdataBufferBudget = 128;

// What is wrong with the options for a driver of uartCount UARTs (a size
// that is not a valid size, idata buffers beyond their budget, a register
// bank beyond 3), naming what is valid, in the language (GBK); nothing when
// they fit.
std::optional<std::string> CheckDriverOptions(const DriverOptions& options, std::size_t uartCount,
                                              Language language = Language::English);

// Why the driver cannot drive an RS-485 direction pin for the request (in
// the language, GBK): the pin must drop exactly one bit time after the
// last send-complete flag, which the driver counts in machine cycles, so
// the chip must run the classic instruction timing (12 or 6 clocks a
// machine cycle). Nothing when it can, or when no pin is asked for.
std::optional<std::string> CheckRs485(const TargetCodeRequest& request, const DriverOptions& options,
                                      Language language = Language::English);

// The machine cycles of one bit at the request's setting, rounded to the
// cycle, and the clocks of one machine cycle; nothing for a core without
// the classic instruction timing.
struct BitTime {
  std::uint32_t cycles = 0;
  std::uint32_t clocksPerCycle = 12;
};
std::optional<BitTime> BitTimeOf(const TargetCodeRequest& request);

// "uart1": the prefix of the driver's functions and the name of its files,
// from the chip's own name of the UART.
std::string DriverName(const BaudTarget& target);

struct DriverFiles {
  std::string name;    // "uart1": the UART's number as the chip counts them
  std::string header;  // uartN.h
  std::string source;  // uartN.c, which includes uartN.h
};

// One header and one source per UART, in the order given (GBK, CR LF),
// comments in the language. The first UART's source also holds putchar and
// getchar (_getkey for Keil). Requests without a target are left out.
std::vector<DriverFiles> GenerateDriverFiles(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                                             Language language = Language::Chinese);

// The same drivers as one text that declares every register once.
std::string GenerateDriverText(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                               Language language = Language::Chinese);

}  // namespace tesmirol
