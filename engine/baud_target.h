#pragma once
// The baud-rate generators of today's 8051-family chips: one entry of the
// target catalogue (res/targets.txt) is one UART of a chip on one generator
// with its timer clock choices, and the exact solver's answer for it.
//
// Every generator here gives
//   rate = 2^smod * f / (divider * (2^reloadBits - reload))
// with a divider per clock choice (for example 384 = 32 x 12 for the classic
// Timer 1, 4 for the STC15 Timer 2 in 1-clock mode, 32 x 2^T3PS for the
// N76E003's Timer 3) and smod fixed at 0 where the UART has no doubling bit.
// The CC253x USARTs' mantissa/exponent generator instead gives
//   rate = f * (256 + BAUD_M) * 2^BAUD_E / 2^28:
// one clock choice per exponent, of divider 2^(28 - BAUD_E), with the
// mantissa 256 + BAUD_M multiplying the rate where a reload divides it.
// The ADuC841/842/843 Timer 3 gives
//   rate = 2 x fcore / (2^(DIV-1) x (64 + T3FD)) = 4 x fcore / (2^DIV x (64 + T3FD)):
// one clock choice per DIV, of divider 2^DIV, the count 64 + T3FD in place
// of 2^bits - reload and a constant 4 multiplying the rate.

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
  StcTimer3,         // STC15W4K/STC8 Timer 3 for UART3 (T3H/T3L, T4T3M.T3R/T3x12, S3CON.S3ST3)
  StcTimer4,         // STC15W4K/STC8 Timer 4 for UART4 (T4H/T4L, T4T3M.T4R/T4x12, S4CON.S4ST4)
  N76Timer3,         // N76E003/MS51 Timer 3 (RH3/RL3, T3CON.T3PS prescaler, T3CON.BRCK for UART0)
  Ch55xSbaud1,       // CH552/CH554 UART1's own generator (SBAUD1), SCON1.U1SMOD doubles
  SilabsTimer1,      // C8051F/EFM8 Timer 1 in mode 2 for UART0: T1CLK / (2 x (256 - TH1)), CKCON.T1M/SCA
  CcUsart,           // CC253x/CC254x USART in UART mode: f x (256 + UxBAUD) x 2^UxGCR.BAUD_E / 2^28
  Efm8Uart1,         // EFM8BB3 UART1's own generator: SYSCLK / (2 x prescaler x (65536 - SBRLH1:SBRLL1))
  NrfS0rel,          // nRF24LE1 UART's own generator (ADCON.BD = 1): 2^SMOD x f / (64 x (1024 - S0REL)), 10 bits
  AtmelBrg,  // AT89C51RB2/RC2/ID2 internal generator (BRL, BDRCON): 2^SMOD1 x FPER / (6^(1-SPD) x 32 x (256 - BRL))
  AducT3,    // ADuC841/842/843 Timer 3 (T3CON.T3BAUDEN, DIV; T3FD): 4 x fcore / (2^DIV x (64 + T3FD)), fractional
};

// How the timer is clocked where the chip offers a choice; the code
// generator sets or clears the matching bit (AUXR.T1x12, AUXR.T2x12,
// AUXR.BRTx12, CKCON.T1M ...) or leaves the chip's default alone.
enum class ClockSelect {
  Fixed,       // nothing to set: the chip's only clock, or a mode chosen outside SIO_Init (6-clock option bit)
  AuxrT1x12,   // STC12/15/8 AUXR bit 6
  AuxrT2x12,   // STC15/8 AUXR bit 2
  AuxrBrtx12,  // STC12C5A60S2 AUXR bit 2
  CkconT1M,    // N76E003, DS80C320 CKCON bit 4
  T4t3mT3x12,  // STC15W4K/STC8 T4T3M bit 1
  T4t3mT4x12,  // STC15W4K/STC8 T4T3M bit 5
  T3conT3ps,   // N76E003/MS51 T3CON bits 2..0: prescaler 2^T3PS
  T2modT1Clk,  // CH552/CH554 T2MOD bTMR_CLK (bit 7) and bT1_CLK (bit 5)
  CkconSca,    // C8051F/EFM8 CKCON T1M (bit 3) and SCA1..0 (bits 1..0)
  UxgcrBaudE,  // CC253x/CC254x UxGCR bits 4..0: the exponent BAUD_E, 0 to 16 in UART mode
  Sbcon1Bps,   // EFM8BB3 SBCON1 bits 2..0 (BPS): prescaler 12, 4, 48, 1, 8, 16, 24, 32 for BPS 0 to 7
  BdrconSpd,   // AT89C51RB2/RC2/ID2 BDRCON.SPD (bit 1): the generator counts FPER (set) or FPER/6
  T3conDiv,    // ADuC841/842/843 T3CON bits 2..0 (DIV): the core clock divided by 2^DIV
};

// One clock the timer can run at. select is the value of the selector's
// field: 1 (set) or 0 (clear) for a one-bit selector; T3PS for T3CON;
// bTMR_CLK x 2 + bT1_CLK for T2MOD; T1M x 4 + SCA for CKCON; BAUD_E for
// UxGCR (divider 2^(28 - BAUD_E)); BPS for SBCON1; DIV for the ADuC's T3CON.
struct ClockChoice {
  std::uint32_t clocksPerCycle = 12;  // P: oscillator periods per timer count
  std::uint32_t divider = 384;        // the formula's constant D at this clock
  std::uint32_t select = 0;
};

// One generator with one timer clock.
struct BaudTarget {
  std::string name;                   // the command line's name, unique
  std::string uart;                   // the chip's own name of the UART it drives ("UART1", "UART0")
  std::string function;               // the name of the generated init function ("SIO_Init", "SIO2_Init")
  std::string timer;                  // the timer it takes ("timer1", "timer2", "brt"): one setting per timer
  std::vector<std::string> families;  // chip families offering it (for --target with a family)
  std::string chips;                  // the chips it fits, in plain words
  std::string source;                 // the data sheet the formula and bits were checked against
  GeneratorKind generator = GeneratorKind::Timer1Mode2;
  ClockSelect clockSelect = ClockSelect::Fixed;
  bool clockFast = false;                    // the first clock choice sets a one-bit selector
  std::uint32_t clocksPerCycle = 12;         // the first clock choice's P
  std::uint32_t divider = 384;               // the first clock choice's D
  std::vector<ClockChoice> clocks;           // every clock choice, in the order a tie prefers them
  std::uint32_t reloadBits = 8;              // 8, 10 (the nRF24LE1's S0REL) or 16
  bool smodDoubles = true;                   // PCON.SMOD doubles the rate
  std::vector<std::string> reloadRegisters;  // where the reload goes, high byte first ("TH1"; "T2H", "T2L")
  std::string registers;                     // every register bit the setting writes, in plain words
  std::string formula;                       // the data sheet's formula, as text
  // The system clocks in hertz, rising, that the chip can be set to when it
  // makes its own clock in fixed steps (the CH552's PLL divider); empty
  // when the clock is a crystal or a freely set oscillator.
  std::vector<std::uint64_t> clockSteps;
};

// How a chip's on-chip XRAM is switched on.
enum class XramEnable {
  None,        // the chip has no on-chip XRAM
  Always,      // on from reset, nothing to set
  AuxrExtram,  // on while AUXR.EXTRAM (bit 1) is 0, its reset value (STC)
  PmrDme0,     // off after reset: PMR.DME0 set before the startup code clears memory (DS87C520)
};

// The memory of a chip, as the serial driver's buffers and stack need it.
struct ChipMemory {
  std::uint32_t iramBytes = 256;  // internal RAM: 128 or 256 (data and idata, registers and stack)
  std::uint32_t xramBytes = 0;    // on-chip XRAM reached by MOVX; 0 when there is none
  XramEnable xramEnable = XramEnable::None;
};

// The memory record of one chip family of the catalogue (the smallest part's
// figures where the family's parts differ).
struct ChipFamily {
  std::string name;
  ChipMemory memory;
  std::string source;  // the data sheet the figures were checked against
};

// One setting a solver tried or chose.
struct TargetSetting {
  std::uint32_t clockIndex = 0;       // which of the target's clocks
  std::uint32_t clocksPerCycle = 12;  // that clock's P
  std::uint32_t divider = 384;        // that clock's D
  std::uint32_t smod = 0;             // 0 or 1; always 0 where smodDoubles is false
  std::uint32_t reload = 0;           // the register value, 0 .. 2^reloadBits - 1
  std::uint8_t reloadHigh = 0;        // for 16-bit reloads: the high register (TH1, T2H, RCAP2H)
  std::uint8_t reloadLow = 0;         // the low register (or the 8-bit reload itself)
  std::uint64_t divisor =
      0;  // 2^reloadBits - reload; 64 + T3FD for the ADuC's Timer 3; 1 for the mantissa/exponent generator
  std::uint32_t multiplier = 1;  // 256 + BAUD_M for the mantissa/exponent generator, 4 for the ADuC's Timer 3, else 1
  // The achieved rate, 2^smod x f x multiplier / (divider x divisor), as an
  // exact fraction of hertz-derived integers.
  std::uint64_t achievedNumerator = 0;
  std::uint64_t achievedDenominator = 1;
  double achieved = 0.0;  // the same rate as a double (numerator / denominator in double arithmetic)
  // How far, in bits, an edge the UART sends or a sample it takes may lie
  // from where the achieved (average) rate puts it: one clock of the
  // ADuC's fractional divider, 4 / (64 + T3FD) of a bit, when T3FD adds
  // clocks; 0 where every bit is a whole count of equal clocks.
  std::uint32_t edgeShiftNumerator = 0;
  std::uint32_t edgeShiftDenominator = 1;
  double deviation = 0.0;  // (achieved - baud) * 100 / baud, in percent
};

}  // namespace tesmirol
