#pragma once
// The special function registers a target's init function writes beyond
// those of the classic 8051 (which reg51.h and SDCC's <8051.h> declare), with
// their addresses, and their declarations for Keil C51 and SDCC; and the
// serial port the function sets up.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"

namespace tesmirol {

// The serial port an init function sets up: its control register, its
// interrupt enable bit and where its doubling bit sits, if it has one.
enum class SerialPort {
  Classic,     // SCON, IE.ES, PCON.SMOD: the first UART of 8051-style chips
  Silabs,      // C8051F/EFM8 SCON0 (S0MODE), IE.ES0; no doubling bit
  Stc2,        // STC15/STC8 UART2: S2CON (S2SM0 alone picks the mode), IE2.ES2
  Stc12Uart2,  // STC12C5A60S2 UART2: S2CON (S2SM0, S2SM1), IE2.ES2, AUXR.S2SMOD
  Stc3,        // STC15W4K/STC8 UART3: S3CON (S3ST3 picks Timer 3), IE2.ES3
  Stc4,        // STC15W4K/STC8 UART4: S4CON (S4ST4 picks Timer 4), IE2.ES4
  N76Uart1,    // N76E003/MS51 UART1: SCON_1, EIE1.ES_1
  Ch55xUart1,  // CH552/CH554 UART1: SCON1 with U1SMOD, IE_EX.IE_UART1
  CcUsart,     // CC253x/CC254x USART0/USART1 in UART mode: UxCSR, UxUCR, UxDBUF; receive and send
               // interrupts of their own (URXxIE in IEN0, UTXxIE in IEN2), no SCON
  Efm8Uart1,   // EFM8BB3 UART1: SMOD1, SCON1 (TBX, RBX), UART1FCN1.RIE/TIE, EIE2.ES1; its registers on
               // SFR page 0x20
};

// The serial port the target drives, from its UART and generator.
SerialPort SerialPortOf(const BaudTarget& target);

// Whether the target is the Nuvoton N76E003/MS51 UART0 on Timer 1, whose
// code clears T3CON.BRCK so that the UART takes its rate from Timer 1
// (CKCON.T1M without the Dallas CKCON's 4-clock choice).
bool IsNuvotonTimer1(const BaudTarget& target);

// Whether the init function writes the EFM8BB3 UART1's registers, which
// sit on SFR page 0x20, and so notes the caller's SFRPAGE, switches pages
// and restores the caller's page at the end.
bool WritesOnEfm8Pages(const BaudTarget& target);

// Whether the init function writes registers that exist on SFR page 0 of
// the Nuvoton parts only (T3CON, RL3, RH3), and so selects that page first
// and restores the caller's page at the end.
bool WritesOnSfrPage0(const BaudTarget& target);

struct ExtraRegister {
  std::string_view name;
  std::uint8_t address = 0;
  bool in8052Headers = false;  // declared by reg52.h and <8052.h> as well
};

// The registers the generated code for this target writes that reg51.h and
// <8051.h> do not declare, in the order the code uses them.
std::vector<ExtraRegister> ExtraRegisters(const BaudTarget& target);

// The registers of several targets' functions, each once, in the order of
// first use (the functions of one chip share AUXR, IE2, T4T3M ...).
std::vector<ExtraRegister> ExtraRegisters(std::span<const BaudTarget* const> targets);

// The declarations of the registers, one block for SDCC (__sfr __at) and
// one for Keil C51 (sfr), chosen by __SDCC; the 8052's Timer 2 registers are
// skipped when reg52.h or <8052.h> declared them already. CR LF line ends;
// empty for no registers.
std::string RegisterDeclarations(const std::vector<ExtraRegister>& registers);

// A flag bit of a bit-addressable serial port at an address the 8051's
// headers do not name.
struct FlagBit {
  std::string_view name;
  std::uint8_t address = 0;
};

// What a driver needs of a serial port beyond what its init function
// writes: the data register, how the receive and send flags are tested and
// cleared, the received stop bit (mode 1) where the port keeps it, and its
// interrupt.
struct SerialPortFacts {
  std::string_view buffer;       // the data register
  ExtraRegister bufferRegister;  // its declaration, when <8051.h> lacks it
  std::string_view control;      // the control register of a port that is not bit-addressable
  std::string_view flagPrefix;   // "S2" for S2RI, S2TI
  std::string_view ri, ti, rb8;  // the bits of a bit-addressable port; rb8 empty: no stop bit kept
  std::vector<FlagBit> bits;     // the bits to declare
  unsigned vector = 4;           // the interrupt number
};

SerialPortFacts SerialPortFactsOf(SerialPort port);

// The facts of the port of one UART: a CC253x USART's own registers, flags
// and receive interrupt by its number (USART0 for the port alone); the
// port's facts for every other UART.
SerialPortFacts SerialPortFactsOf(SerialPort port, std::string_view uart);
SerialPortFacts SerialPortFactsOf(const BaudTarget& target);

// The send interrupt of a CC253x USART, which has one of its own beside the
// receive interrupt of SerialPortFacts::vector: 7 for USART0, 14 for USART1.
unsigned CcUsartSendVector(const BaudTarget& target);

}  // namespace tesmirol
