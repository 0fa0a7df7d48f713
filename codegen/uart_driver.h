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
#include <vector>

#include "codegen/target_init_code.h"
#include "engine/baud_target.h"
#include "engine/language.h"

namespace tesmirol {

enum class DriverKind { Interrupt, Polled };
enum class BufferSpace { Idata, Xdata };  // where the ring buffers sit

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
};

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
DriverRamUse DriverRamUseOf(const DriverOptions& options, std::size_t uartCount);

inline constexpr std::uint32_t kPrintfDataBytes = 57;
inline constexpr std::uint32_t kPrintfStackBytes = 29;

// The stack one entry of the serial interrupt takes, as SDCC 4.2 compiles
// it: the return address and the pushes of ACC, PSW and, without a register
// bank of its own, the registers it uses (R0, R1, R7; R6 too for two-byte
// indexes), with xdata buffers DPL and DPH. 7 in idata, 8 with two-byte
// indexes; 4 and 6 with its own bank.
std::uint32_t DriverIsrStackBytes(const DriverOptions& options);
// Less internal RAM left than this is warned about: a few bytes of locals or
// a deeper call than printf's overrun it.
inline constexpr std::int32_t kTightRamBytes = 8;

// The buffer size the driver takes when none is given: 8 on a chip of 128
// bytes of internal RAM (where 16 + 16 leave printf no stack), else 16.
std::uint32_t DefaultBufferSize(const ChipMemory& memory);

// What the chip's memory warns about for options CheckDriverOptions accepts
// (internal RAM nearly full, XRAM that must be switched on), each a line in
// the language (GBK); empty when nothing.
std::vector<std::string> DriverWarnings(const DriverOptions& options, std::size_t uartCount,
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
                                              Language language = Language::English);

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
