#pragma once
// The baud-rate generators of today's 8051-family chips: one entry of the
// target catalogue (res/targets.txt) is one generator with one timer clock,
// and the exact solver's answer for it.
//
// Every generator here gives
//   rate = 2^smod * f / (divider * (2^reloadBits - reload))
// with its own divider (for example 384 = 32 x 12 for the classic Timer 1,
// 4 for the STC15 Timer 2 in 1-clock mode) and smod fixed at 0 where the
// generator has no doubling bit.

#include <cstdint>
#include <string>
#include <vector>

namespace tesmirol {

// Which registers set the rate; the code generator writes one SIO_Init shape
// per generator.
enum class GeneratorKind {
  Timer1Mode2,       // Timer 1, mode 2 (8-bit auto-reload, TH1), SMOD doubles
  Timer2Rcap,        // 8052 Timer 2 in baud-rate mode (RCAP2H/RCAP2L, T2CON RCLK = TCLK = 1)
  Stc15Timer2,       // STC15/STC8 Timer 2 as UART1's generator (T2H/T2L, AUXR.S1ST2, AUXR.T2R, AUXR.T2x12)
  Stc15Timer1Mode0,  // STC15/STC8 Timer 1, mode 0 (16-bit auto-reload, TH1/TL1, AUXR.T1x12)
  Stc12Brt,          // STC12C5A60S2 independent baud-rate generator (BRT, AUXR.BRTx12/S1BRS/BRTR), SMOD doubles
};

// How the timer is clocked where the chip offers a choice; the code
// generator sets or clears the matching bit (AUXR.T1x12, AUXR.T2x12,
// AUXR.BRTx12, CKCON.T1M ...) or leaves the chip's default alone.
enum class ClockSelect {
  Fixed,       // nothing to set: the chip's only clock, or a mode chosen outside SIO_Init (6-clock option bit)
  AuxrT1x12,   // STC12/15/8 AUXR bit 6
  AuxrT2x12,   // STC15/8 AUXR bit 2
  AuxrBrtx12,  // STC12C5A60S2 AUXR bit 2
  CkconT1M,    // N76E003 CKCON bit 4
};

// One generator with one timer clock.
struct BaudTarget {
  std::string name;                   // the command line's name, unique
  std::vector<std::string> families;  // chip families offering it (for --target with a family)
  std::string chips;                  // the chips it fits, in plain words
  std::string source;                 // the data sheet the formula and bits were checked against
  GeneratorKind generator = GeneratorKind::Timer1Mode2;
  ClockSelect clockSelect = ClockSelect::Fixed;
  bool clockFast = false;                    // with clockSelect: the bit is set (1-clock) rather than cleared
  std::uint32_t clocksPerCycle = 12;         // P: oscillator periods per timer count (12, 6 or 1)
  std::uint32_t divider = 384;               // the formula's constant (see above)
  std::uint32_t reloadBits = 8;              // 8 or 16
  bool smodDoubles = true;                   // PCON.SMOD doubles the rate
  std::vector<std::string> reloadRegisters;  // where the reload goes, high byte first ("TH1"; "T2H", "T2L")
  std::string registers;                     // every register bit the setting writes, in plain words
  std::string formula;                       // the data sheet's formula, as text
};

// One setting a solver tried or chose.
struct TargetSetting {
  std::uint32_t smod = 0;       // 0 or 1; always 0 where smodDoubles is false
  std::uint32_t reload = 0;     // the register value, 0 .. 2^reloadBits - 1
  std::uint8_t reloadHigh = 0;  // for 16-bit reloads: the high register (TH1, T2H, RCAP2H)
  std::uint8_t reloadLow = 0;   // the low register (or the 8-bit reload itself)
  std::uint64_t divisor = 0;    // 2^reloadBits - reload
  // The achieved rate as an exact fraction of hertz-derived integers.
  std::uint64_t achievedNumerator = 0;
  std::uint64_t achievedDenominator = 1;
  double achieved = 0.0;   // the same rate as a double (numerator / denominator in double arithmetic)
  double deviation = 0.0;  // (achieved - baud) * 100 / baud, in percent
};

}  // namespace tesmirol
