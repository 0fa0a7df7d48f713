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
#include "engine/baud_target.h"
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
  // The chip's memory (DriverChipMemory of --target) and the name it was
  // given under, for the checks and the header's memory statement.
  ChipMemory memory;
  std::string chip = "8052";
  std::optional<Rs485Pin> rs485;  // drive a transceiver's direction pin around each burst
  bool crlf = false;              // putchar sends "\r\n" for '\n'; raw bytes by default
};

// The frame the driver sends and receives: the request's, or 9N1 where only
// mode 3 was asked for.
SerialFrame DriverFrame(const TargetCodeRequest& request);
// The frame of the drivers of a text (each UART carries the same), 8N1
// when there are none: what their memory is counted for.
SerialFrame DriversFrame(std::span<const TargetCodeRequest> requests);

// What the drivers of uartCount UARTs and SDCC's printf take of the chip's
// internal RAM, in bytes, and what they leave. The printf and stack figures
// were measured in s51 with SDCC 4.2 (small model; tests/sdcc/s51_stack_test.py):
// printf's variables 57 bytes; its deepest stack, "%ld", 29 bytes counting
// main's return address; the serial interrupt's return address and pushes on
// top (DriverIsrStackBytes). The registers count banks 0 up to the
// interrupt's bank.
struct DriverRamUse {
  std::uint32_t registers = 0;
  std::uint32_t variables = 0;  // the drivers' indexes, flags and counts
  std::uint32_t idataBuffers = 0;
  std::uint32_t xdataBuffers = 0;
  std::uint32_t printfData = 0;
  std::uint32_t stack = 0;  // printf's deepest call and one interrupt on top
  std::uint32_t need = 0;   // the sum of the above but the xdata buffers
  std::int32_t left = 0;    // internal RAM left for the program; below 0: the stack overruns it
};
// frame is the one every UART carries: a parity frame adds its error count,
// 9N1 the ninth bits' arrays and the locals of uartN_write9 and uartN_read9.
DriverRamUse DriverRamUseOf(const DriverOptions& options, std::size_t uartCount, const SerialFrame& frame);

inline constexpr std::uint32_t kPrintfDataBytes = 57;
inline constexpr std::uint32_t kPrintfStackBytes = 29;
// What the ninth bit and the RS-485 pin add, as SDCC 4.2 compiles and links
// them (measured in s51 like the figures above, and rounded up where two of
// them meet): 9N1 keeps the locals of uartN_write9 and uartN_read9 in
// internal RAM and its interrupt pushes more; the RS-485 wait makes the
// interrupt call a function, so it saves every register whatever its bank
// (16 bytes of stack in all), and the bit variable it needs takes the
// bit-addressable bytes at 0x20, which leaves a gap of up to 7 bytes below
// them.
inline constexpr std::uint32_t kNinthDataLocalBytes = 7;
inline constexpr std::uint32_t kNinthIsrStackBytes = 4;
inline constexpr std::uint32_t kRs485GapBytes = 7;
inline constexpr std::uint32_t kRs485IsrStackBytes = 16;

// The stack one entry of the serial interrupt takes, as SDCC 4.2 compiles
// it: the return address and the pushes of ACC, PSW and, without a register
// bank of its own, the registers it uses (R0, R1, R7; R6 too for two-byte
// indexes), with xdata buffers DPL and DPH. 7 in idata, 8 with two-byte
// indexes; 4 and 6 with its own bank; 16 (17) with the RS-485 pin's wait,
// and 4 more for 9N1.
std::uint32_t DriverIsrStackBytes(const DriverOptions& options, const SerialFrame& frame);
// Less internal RAM left than this is warned about: a few bytes of locals or
// a deeper call than printf's overrun it.
inline constexpr std::int32_t kTightRamBytes = 8;

// The buffer size the driver takes when none is given: 8 on a chip of 128
// bytes of internal RAM (where 16 + 16 leave printf no stack), else 16.
std::uint32_t DefaultBufferSize(const ChipMemory& memory);

// What the chip's memory warns about for options CheckDriverOptions accepts
// (internal RAM nearly full, XRAM that must be switched on), each a line in
// the language (GBK); empty when nothing.
std::vector<std::string> DriverWarnings(const DriverOptions& options, std::size_t uartCount, const SerialFrame& frame,
                                        Language language = Language::English);

// The buffer sizes the space allows: powers of two from 8 to 128 in idata,
// to 1024 in xdata.
std::vector<std::uint32_t> ValidBufferSizes(BufferSpace space);

// What is wrong with the options for a driver of uartCount UARTs on the
// chip of options.memory (a size that is not a valid size, a register bank
// beyond 3, xdata buffers on a chip without XRAM or beyond it, internal RAM
// too small for the buffers, printf and the stack), saying why and what to
// do instead, in the language (GBK); nothing when they fit.
std::optional<std::string> CheckDriverOptions(const DriverOptions& options, std::size_t uartCount,
                                              const SerialFrame& frame, Language language = Language::English);

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
