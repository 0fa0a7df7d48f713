#include "codegen/target_registers.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>

namespace tesmirol {
namespace {

// Addresses and bits as the vendors give them:
// - AUXR 0x8E: STC15 series manual and STC8A8K64D4 series manual (auxiliary
//   register: T1x12 bit 6, T2R bit 4, T2_C/T bit 3, T2x12 bit 2, S1ST2 /
//   S1BRT bit 0); STC's register header for the STC12C5A60S2 family
//   (STC_NEW_8051.H: T0x12 T1x12 UART_M0x6 BRTR S2SMOD BRTx12 EXTRAM S1BRS).
// - T2H 0xD6, T2L 0xD7: STC15 / STC8A8K64D4 manuals, Timer 2.
// - BRT 0x9C: the same STC12C5A60S2 header, independent baud-rate timer.
// - S2CON 0x9A, S3CON 0xAC, S4CON 0x84, IE2 0xAF (ES2 bit 0, ES3 bit 3, ES4
//   bit 4), T4T3M 0xD1, T4H 0xD2, T4L 0xD3, T3H 0xD4, T3L 0xD5: STC's
//   STC8xxxx.H register header; S2CON and IE2 sit at the same addresses on
//   the STC12C5A60S2.
// - CKCON 0x8E, T1M bit 4: Nuvoton's N76E003 register header (N76E003.h of
//   its BSP) and its UART0 sample, which sets CKCON.T1M with ORL CKCON,#10H;
//   the Dallas High-Speed Microcontroller User's Guide (T1M is CKCON.4); on
//   the C8051F33x/F34x and EFM8 (CKCON0) T1M is bit 3 and SCA1..0 bits 1..0.
// - SFRS 0x91, EIE1 0x9C, T3CON 0xC4, RL3 0xC5, RH3 0xC6, TA 0xC7, SCON_1
//   0xF8: Nuvoton's N76E003 / MS51 register headers and technical reference
//   manual.
// - SCON1 0xC0, SBAUD1 0xC2, T2MOD 0xC9, IE_EX 0xE8: WCH's CH554.H.
// - SCON0 0x98: Silicon Labs' C8051F33x register header and the EFM8
//   reference manuals (the 8051's SCON under its own name).
// - T2CON 0xC8, RCAP2L 0xCA, RCAP2H 0xCB, TL2 0xCC, TH2 0xCD: the 8052's
//   Timer 2, as in Philips' 80C51 family data sheet (8XC54/58, 8XC51FA ...),
//   whose table gives T2CON = 34H for the baud-rate generator.
constexpr ExtraRegister kAuxr{"AUXR", 0x8E, false};
constexpr ExtraRegister kCkcon{"CKCON", 0x8E, false};
constexpr ExtraRegister kT2h{"T2H", 0xD6, false};
constexpr ExtraRegister kT2l{"T2L", 0xD7, false};
constexpr ExtraRegister kBrt{"BRT", 0x9C, false};
constexpr ExtraRegister kIe2{"IE2", 0xAF, false};
constexpr ExtraRegister kS2con{"S2CON", 0x9A, false};
constexpr ExtraRegister kS3con{"S3CON", 0xAC, false};
constexpr ExtraRegister kS4con{"S4CON", 0x84, false};
constexpr ExtraRegister kT4t3m{"T4T3M", 0xD1, false};
constexpr ExtraRegister kT3h{"T3H", 0xD4, false};
constexpr ExtraRegister kT3l{"T3L", 0xD5, false};
constexpr ExtraRegister kT4h{"T4H", 0xD2, false};
constexpr ExtraRegister kT4l{"T4L", 0xD3, false};
constexpr ExtraRegister kSfrs{"SFRS", 0x91, false};
constexpr ExtraRegister kTa{"TA", 0xC7, false};
constexpr ExtraRegister kEie1{"EIE1", 0x9C, false};
constexpr ExtraRegister kScon1Nuvoton{"SCON_1", 0xF8, false};
constexpr ExtraRegister kT3con{"T3CON", 0xC4, false};
constexpr ExtraRegister kRl3{"RL3", 0xC5, false};
constexpr ExtraRegister kRh3{"RH3", 0xC6, false};
constexpr ExtraRegister kIeEx{"IE_EX", 0xE8, false};
constexpr ExtraRegister kScon1Wch{"SCON1", 0xC0, false};
constexpr ExtraRegister kSbaud1{"SBAUD1", 0xC2, false};
constexpr ExtraRegister kT2mod{"T2MOD", 0xC9, false};
constexpr ExtraRegister kScon0{"SCON0", 0x98, false};
// - U0CSR 0x86, U0DBUF 0xC1, U0BAUD 0xC2, U0UCR 0xC4, U0GCR 0xC5, U1CSR
//   0xF8, U1DBUF 0xF9, U1BAUD 0xFA, U1UCR 0xFB, U1GCR 0xFC, IEN2 0x9A,
//   IRCON2 0xE8: TI's CC253x/CC254x User's Guide SWRU191F, Table 2-1.
// - SFRPAGE 0xA7, EIE2 0xF3 (ES1 bit 0), SMOD1 0x93, SCON1 0xC8 (TBX bit 3,
//   RBX bit 2, TI bit 1, RI bit 0), UART1FCN0 0x9D, UART1FCN1 0xD8 (TIE bit
//   4, RIE bit 0), SBCON1 0x94 (BREN bit 6, BPS bits 2..0), SBRLL1 0x95,
//   SBRLH1 0x96, SBUF1 0x92, UART1 interrupt 15: Silicon Labs' EFM8BB3
//   register headers (SI_EFM8BB3_Defs.h, SI_EFM8BB3_Register_Enums.h).
constexpr ExtraRegister kSfrPage{"SFRPAGE", 0xA7, false};
constexpr ExtraRegister kEie2Efm8{"EIE2", 0xF3, false};
constexpr ExtraRegister kSmod1{"SMOD1", 0x93, false};
constexpr ExtraRegister kScon1Efm8{"SCON1", 0xC8, false};
constexpr ExtraRegister kUart1Fcn0{"UART1FCN0", 0x9D, false};
constexpr ExtraRegister kUart1Fcn1{"UART1FCN1", 0xD8, false};
constexpr ExtraRegister kSbcon1{"SBCON1", 0x94, false};
constexpr ExtraRegister kSbrll1{"SBRLL1", 0x95, false};
constexpr ExtraRegister kSbrlh1{"SBRLH1", 0x96, false};
// - ADCON 0xD8 (BD bit 7), S0RELL 0xAA, S0RELH 0xBA: Nordic's nRF24LE1
//   register header (reg24le1.h); its S0CON, S0BUF and IEN0 are the 8051's
//   SCON, SBUF and IE.
constexpr ExtraRegister kAdcon{"ADCON", 0xD8, false};
constexpr ExtraRegister kS0rell{"S0RELL", 0xAA, false};
constexpr ExtraRegister kS0relh{"S0RELH", 0xBA, false};
// - BRL 0x9A, BDRCON 0x9B: Atmel's AT89C51RB2/RC2/ID2 register headers.
constexpr ExtraRegister kBrl{"BRL", 0x9A, false};
constexpr ExtraRegister kBdrcon{"BDRCON", 0x9B, false};
// - T3FD 0x9D, T3CON 0x9E: Analog Devices' ADuC841 register header (kei841.h).
constexpr ExtraRegister kT3fd{"T3FD", 0x9D, false};
constexpr ExtraRegister kT3conAduc{"T3CON", 0x9E, false};
constexpr ExtraRegister kIen2{"IEN2", 0x9A, false};
constexpr ExtraRegister kIrcon2{"IRCON2", 0xE8, false};
constexpr std::array<ExtraRegister, 4> kCcUsart0{{
    {"U0CSR", 0x86, false},
    {"U0UCR", 0xC4, false},
    {"U0BAUD", 0xC2, false},
    {"U0GCR", 0xC5, false},
}};
constexpr std::array<ExtraRegister, 4> kCcUsart1{{
    {"U1CSR", 0xF8, false},
    {"U1UCR", 0xFB, false},
    {"U1BAUD", 0xFA, false},
    {"U1GCR", 0xFC, false},
}};
constexpr std::array<ExtraRegister, 5> k8052Timer2{{
    {"T2CON", 0xC8, true},
    {"RCAP2L", 0xCA, true},
    {"RCAP2H", 0xCB, true},
    {"TL2", 0xCC, true},
    {"TH2", 0xCD, true},
}};

// Adds the registers that are not in the list yet, in order.
void AddOnce(std::vector<ExtraRegister>& list, std::initializer_list<ExtraRegister> registers) {
  std::copy_if(registers.begin(), registers.end(), std::back_inserter(list), [&list](const ExtraRegister& reg) {
    return std::none_of(list.begin(), list.end(), [&reg](const ExtraRegister& had) { return had.name == reg.name; });
  });
}

// The serial port's own registers, which the function writes first.
void AddPortRegisters(std::vector<ExtraRegister>& list, SerialPort port) {
  switch (port) {
    case SerialPort::Classic:
      break;
    case SerialPort::Silabs:
      AddOnce(list, {kScon0});
      break;
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
      AddOnce(list, {kIe2, kS2con});
      break;
    case SerialPort::Stc3:
      AddOnce(list, {kIe2, kS3con});
      break;
    case SerialPort::Stc4:
      AddOnce(list, {kIe2, kS4con});
      break;
    case SerialPort::N76Uart1:
      AddOnce(list, {kEie1, kScon1Nuvoton});
      break;
    case SerialPort::Ch55xUart1:
      AddOnce(list, {kIeEx, kScon1Wch});
      break;
    case SerialPort::CcUsart:
      AddOnce(list, {kIen2, kIrcon2});  // the USART's own registers follow with its number
      break;
    case SerialPort::Efm8Uart1:
      AddOnce(list, {kSfrPage, kEie2Efm8, kSmod1, kScon1Efm8, kUart1Fcn0, kUart1Fcn1});
      break;
  }
}

// The register of the timer's clock selector, where the function sets it.
void AddClockRegisters(std::vector<ExtraRegister>& list, ClockSelect clock) {
  switch (clock) {
    case ClockSelect::AuxrT1x12:
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
      AddOnce(list, {kAuxr});
      break;
    case ClockSelect::CkconT1M:
    case ClockSelect::CkconSca:
      AddOnce(list, {kCkcon});
      break;
    case ClockSelect::T2modT1Clk:
      AddOnce(list, {kT2mod});
      break;
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
      AddOnce(list, {kT4t3m});
      break;
    case ClockSelect::T3conT3ps:
      AddOnce(list, {kT3con});
      break;
    case ClockSelect::UxgcrBaudE:  // among the USART's own registers
    case ClockSelect::Sbcon1Bps:   // among the generator's registers
    case ClockSelect::BdrconSpd:   // among the generator's own registers
    case ClockSelect::T3conDiv:    // among the generator's own registers
    case ClockSelect::Fixed:
      break;
  }
}

void AddGeneratorRegisters(std::vector<ExtraRegister>& list, GeneratorKind generator) {
  switch (generator) {
    case GeneratorKind::Timer1Mode2:
    case GeneratorKind::SilabsTimer1:
      break;
    case GeneratorKind::Timer2Rcap:
      for (const ExtraRegister& reg : k8052Timer2) {
        AddOnce(list, {reg});
      }
      break;
    case GeneratorKind::Stc15Timer2:
      AddOnce(list, {kAuxr, kT2h, kT2l});
      break;
    case GeneratorKind::Stc15Timer1Mode0:
      AddOnce(list, {kAuxr});
      break;
    case GeneratorKind::Stc12Brt:
      AddOnce(list, {kAuxr, kBrt});
      break;
    case GeneratorKind::StcTimer3:
      AddOnce(list, {kT4t3m, kT3h, kT3l});
      break;
    case GeneratorKind::StcTimer4:
      AddOnce(list, {kT4t3m, kT4h, kT4l});
      break;
    case GeneratorKind::N76Timer3:
      AddOnce(list, {kT3con, kRl3, kRh3});
      break;
    case GeneratorKind::Ch55xSbaud1:
      AddOnce(list, {kSbaud1});
      break;
    case GeneratorKind::NrfS0rel:
      AddOnce(list, {kAdcon, kS0rell, kS0relh});
      break;
    case GeneratorKind::AtmelBrg:
      AddOnce(list, {kBdrcon, kBrl});
      break;
    case GeneratorKind::AducT3:
      AddOnce(list, {kT3conAduc, kT3fd});
      break;
    case GeneratorKind::CcUsart:
      break;
    case GeneratorKind::Efm8Uart1:
      AddOnce(list, {kSbcon1, kSbrll1, kSbrlh1});
      break;
  }
}

// "0x" and two upper-case hexadecimal digits, as register addresses are written.
std::string Hex(std::uint8_t value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "0x";
  text += kDigits[value >> 4U];
  text += kDigits[value & 0x0FU];
  return text;
}

// One declaration line per register in the compiler's own syntax.
void AppendDeclarations(std::string& text, const std::vector<ExtraRegister>& registers, bool sdcc) {
  for (const ExtraRegister& reg : registers) {
    if (sdcc) {
      text.append("__sfr __at (").append(Hex(reg.address)).append(") ").append(reg.name).append(";\r\n");
    } else {
      text.append("sfr ").append(reg.name).append(" = ").append(Hex(reg.address)).append(";\r\n");
    }
  }
}

void AppendBlock(std::string& text, const std::vector<ExtraRegister>& registers) {
  text.append("#ifdef __SDCC\r\n");
  AppendDeclarations(text, registers, true);
  text.append("#else\r\n");
  AppendDeclarations(text, registers, false);
  text.append("#endif\r\n");
}

void AddRegisters(std::vector<ExtraRegister>& list, const BaudTarget& target) {
  if (WritesOnSfrPage0(target)) {
    // The function switches to SFR page 0 before anything else.
    AddOnce(list, {kSfrs, kTa});
  }
  AddPortRegisters(list, SerialPortOf(target));
  AddClockRegisters(list, target.clockSelect);
  if (IsNuvotonTimer1(target)) {
    AddOnce(list, {kT3con});  // BRCK cleared
  }
  AddGeneratorRegisters(list, target.generator);
  if (target.generator == GeneratorKind::CcUsart) {
    for (const ExtraRegister& reg : target.uart == "UART1" ? kCcUsart1 : kCcUsart0) {
      AddOnce(list, {reg});
    }
  }
}

}  // namespace

bool IsNuvotonTimer1(const BaudTarget& target) {
  return target.clockSelect == ClockSelect::CkconT1M &&
         std::none_of(target.clocks.begin(), target.clocks.end(),
                      [](const ClockChoice& clock) { return clock.clocksPerCycle == 4; });
}

bool WritesOnEfm8Pages(const BaudTarget& target) { return target.generator == GeneratorKind::Efm8Uart1; }

bool WritesOnSfrPage0(const BaudTarget& target) {
  return target.generator == GeneratorKind::N76Timer3 || IsNuvotonTimer1(target);
}

SerialPort SerialPortOf(const BaudTarget& target) {
  switch (target.generator) {
    case GeneratorKind::SilabsTimer1:
      return SerialPort::Silabs;
    case GeneratorKind::Ch55xSbaud1:
      return SerialPort::Ch55xUart1;
    case GeneratorKind::CcUsart:
      return SerialPort::CcUsart;
    case GeneratorKind::Efm8Uart1:
      return SerialPort::Efm8Uart1;
    case GeneratorKind::N76Timer3:
      return target.uart == "UART1" ? SerialPort::N76Uart1 : SerialPort::Classic;
    case GeneratorKind::Stc12Brt:
      return target.uart == "UART2" ? SerialPort::Stc12Uart2 : SerialPort::Classic;
    case GeneratorKind::Timer1Mode2:
    case GeneratorKind::Timer2Rcap:
    case GeneratorKind::Stc15Timer2:
    case GeneratorKind::Stc15Timer1Mode0:
    case GeneratorKind::StcTimer3:
    case GeneratorKind::StcTimer4:
    case GeneratorKind::NrfS0rel:  // S0CON, S0BUF and IEN0.ES0 are the 8051's SCON, SBUF and IE.ES
    case GeneratorKind::AtmelBrg:
    case GeneratorKind::AducT3:
      break;
  }
  // The STC chips' further UARTs; every other generator drives the first.
  if (target.uart == "UART2") {
    return SerialPort::Stc2;
  }
  if (target.uart == "UART3") {
    return SerialPort::Stc3;
  }
  if (target.uart == "UART4") {
    return SerialPort::Stc4;
  }
  return SerialPort::Classic;
}

std::vector<ExtraRegister> ExtraRegisters(const BaudTarget& target) {
  std::vector<ExtraRegister> list;
  AddRegisters(list, target);
  return list;
}

std::vector<ExtraRegister> ExtraRegisters(std::span<const BaudTarget* const> targets) {
  std::vector<ExtraRegister> list;
  for (const BaudTarget* target : targets) {
    if (target != nullptr) {
      AddRegisters(list, *target);
    }
  }
  return list;
}

std::string RegisterDeclarations(const std::vector<ExtraRegister>& registers) {
  std::vector<ExtraRegister> own;
  std::vector<ExtraRegister> of8052;
  for (const ExtraRegister& reg : registers) {
    if (reg.in8052Headers) {
      of8052.push_back(reg);
    } else {
      own.push_back(reg);
    }
  }
  std::string text;
  if (!own.empty()) {
    AppendBlock(text, own);
  }
  if (!of8052.empty()) {
    // REG8052_H guards SDCC's <8052.h>, __REG52_H__ Keil's reg52.h.
    text.append("#if !defined(REG8052_H) && !defined(__REG52_H__)\r\n");
    AppendBlock(text, of8052);
    text.append("#endif\r\n");
  }
  return text;
}

SerialPortFacts SerialPortFactsOf(SerialPort port) {
  switch (port) {
    case SerialPort::Classic:
      return {"SBUF", {}, "", "", "RI", "TI", "RB8", {}, 4};
    case SerialPort::Silabs:
      // SCON0 sits where SCON does and is bit-addressable: RI0 bit 0, TI0 bit 1, RB80 bit 2.
      return {
          "SBUF0", {"SBUF0", 0x99, false}, "", "", "RI0", "TI0", "RB80", {{"RI0", 0x98}, {"TI0", 0x99}, {"RB80", 0x9A}},
          4};
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
      return {"S2BUF", {"S2BUF", 0x9B, false}, "S2CON", "S2", "", "", "", {}, 8};
    case SerialPort::Stc3:
      return {"S3BUF", {"S3BUF", 0xAD, false}, "S3CON", "S3", "", "", "", {}, 17};
    case SerialPort::Stc4:
      return {"S4BUF", {"S4BUF", 0x85, false}, "S4CON", "S4", "", "", "", {}, 18};
    case SerialPort::N76Uart1:
      // SCON_1 at 0xF8 is bit-addressable: RI_1 bit 0, TI_1 bit 1, RB8_1 bit 2.
      return {"SBUF_1", {"SBUF_1", 0x9A, false},
              "",       "",
              "RI_1",   "TI_1",
              "RB8_1",  {{"RI_1", 0xF8}, {"TI_1", 0xF9}, {"RB8_1", 0xFA}},
              15};
    case SerialPort::Ch55xUart1:
      // SCON1 at 0xC0 is bit-addressable: U1RI bit 0, U1TI bit 1. Its U1RB8
      // holds the ninth bit of mode 3 only.
      return {"SBUF1", {"SBUF1", 0xC1, false}, "", "", "U1RI", "U1TI", "", {{"U1RI", 0xC0}, {"U1TI", 0xC1}}, 10};
    case SerialPort::CcUsart:
      return SerialPortFactsOf(SerialPort::CcUsart, "UART0");
    case SerialPort::Efm8Uart1:
      // SCON1 at 0xC8 (page 0x20) is bit-addressable: RI bit 0, TI bit 1,
      // RBX bit 2, which holds the first stop bit in 8-bit mode.
      return {
          "SBUF1", {"SBUF1", 0x92, false}, "", "", "RI1", "TI1", "RBX1", {{"RI1", 0xC8}, {"TI1", 0xC9}, {"RBX1", 0xCA}},
          15};
  }
  return {};
}

SerialPortFacts SerialPortFactsOf(SerialPort port, std::string_view uart) {
  if (port != SerialPort::CcUsart) {
    return SerialPortFactsOf(port);
  }
  // The CC253x USARTs (SWRU191F Tables 2-1 and 2-5): UxDBUF, URXxIF in the
  // bit-addressable TCON (bit 3 for USART0, bit 7 for USART1), UTXxIF in the
  // bit-addressable IRCON2 (bit 1, bit 2); the receive interrupt is 2 or 3,
  // the send interrupt 7 or 14 (see CcUsartSendVector). No stop bit is kept.
  if (uart == "UART1") {
    return {"U1DBUF", {"U1DBUF", 0xF9, false}, "", "", "URX1IF", "UTX1IF", "", {{"URX1IF", 0x8F}, {"UTX1IF", 0xEA}}, 3};
  }
  return {"U0DBUF", {"U0DBUF", 0xC1, false}, "", "", "URX0IF", "UTX0IF", "", {{"URX0IF", 0x8B}, {"UTX0IF", 0xE9}}, 2};
}

SerialPortFacts SerialPortFactsOf(const BaudTarget& target) {
  return SerialPortFactsOf(SerialPortOf(target), target.uart);
}

unsigned CcUsartSendVector(const BaudTarget& target) { return target.uart == "UART1" ? 14U : 7U; }

}  // namespace tesmirol
