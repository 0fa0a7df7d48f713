#include "codegen/target_registers.h"

#include <algorithm>
#include <array>

namespace tesmirol {
namespace {

// Addresses and bits as the vendors give them:
// - AUXR 0x8E: STC15 series manual and STC8A8K64D4 series manual (auxiliary
//   register: T1x12 bit 6, T2R bit 4, T2_C/T bit 3, T2x12 bit 2, S1ST2 /
//   S1BRT bit 0); STC's register header for the STC12C5A60S2 family
//   (STC_NEW_8051.H: T0x12 T1x12 UART_M0x6 BRTR S2SMOD BRTx12 EXTRAM S1BRS).
// - T2H 0xD6, T2L 0xD7: STC15 / STC8A8K64D4 manuals, Timer 2.
// - BRT 0x9C: the same STC12C5A60S2 header, independent baud-rate timer.
// - CKCON 0x8E, T1M bit 4: Nuvoton's N76E003 register header (N76E003.h of
//   its BSP) and its UART0 sample, which sets CKCON.T1M with ORL CKCON,#10H.
// - T2CON 0xC8, RCAP2L 0xCA, RCAP2H 0xCB, TL2 0xCC, TH2 0xCD: the 8052's
//   Timer 2, as in Philips' 80C51 family data sheet (8XC54/58, 8XC51FA ...),
//   whose table gives T2CON = 34H for the baud-rate generator.
constexpr ExtraRegister kAuxr{"AUXR", 0x8E, false};
constexpr ExtraRegister kCkcon{"CKCON", 0x8E, false};
constexpr ExtraRegister kT2h{"T2H", 0xD6, false};
constexpr ExtraRegister kT2l{"T2L", 0xD7, false};
constexpr ExtraRegister kBrt{"BRT", 0x9C, false};
constexpr std::array<ExtraRegister, 5> k8052Timer2{{
    {"T2CON", 0xC8, true},
    {"RCAP2L", 0xCA, true},
    {"RCAP2H", 0xCB, true},
    {"TL2", 0xCC, true},
    {"TH2", 0xCD, true},
}};

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

}  // namespace

std::vector<ExtraRegister> ExtraRegisters(const BaudTarget& target) {
  switch (target.generator) {
    case GeneratorKind::Timer1Mode2:
      if (target.clockSelect == ClockSelect::AuxrT1x12) {
        return {kAuxr};
      }
      if (target.clockSelect == ClockSelect::CkconT1M) {
        return {kCkcon};
      }
      return {};
    case GeneratorKind::Timer2Rcap:
      return {k8052Timer2.begin(), k8052Timer2.end()};
    case GeneratorKind::Stc15Timer2:
      return {kAuxr, kT2h, kT2l};
    case GeneratorKind::Stc15Timer1Mode0:
      return {kAuxr};
    case GeneratorKind::Stc12Brt:
      return {kAuxr, kBrt};
    case GeneratorKind::StcTimer3:
    case GeneratorKind::StcTimer4:
    case GeneratorKind::N76Timer3:
    case GeneratorKind::Ch55xSbaud1:
    case GeneratorKind::SilabsTimer1:
      return {};
  }
  return {};
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

}  // namespace tesmirol
