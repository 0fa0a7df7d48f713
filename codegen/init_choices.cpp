#include "codegen/init_choices.h"

namespace tesmirol {

ClockChoice ChosenClock(const BaudTarget& target, const TargetSetting& setting) {
  if (setting.clockIndex < target.clocks.size()) {
    return target.clocks[setting.clockIndex];
  }
  return ClockChoice{target.clocksPerCycle, target.divider, target.clockFast ? 1U : 0U};
}

bool OwnTimer(const BaudTarget& target) {
  return target.generator == GeneratorKind::StcTimer3 || target.generator == GeneratorKind::StcTimer4;
}

std::uint32_t ControlValue(SerialPort port, const BaudTarget& target, std::uint32_t smod, bool mode3) {
  switch (port) {
    case SerialPort::Classic:
    case SerialPort::Stc12Uart2:
    case SerialPort::N76Uart1:
      return mode3 ? 0xC0U : 0x40U;  // SM0 SM1: mode 3 or mode 1
    case SerialPort::Silabs:
    case SerialPort::Stc2:
      return mode3 ? 0x80U : 0x00U;  // S0MODE / S2SM0: 9 or 8 data bits
    case SerialPort::Stc3:
    case SerialPort::Stc4:
      return (mode3 ? 0x80U : 0x00U) | (OwnTimer(target) ? 0x40U : 0x00U);
    case SerialPort::Ch55xUart1:
      return (mode3 ? 0x80U : 0x00U) | (smod != 0 ? 0x20U : 0x00U);
    case SerialPort::CcUsart:
      return 0x82U;  // UxUCR: FLUSH, 8 data bits, no parity, 1 high stop bit
    case SerialPort::Efm8Uart1:
      return mode3 ? 0x0EU : 0x0CU;  // SMOD1: SDL = 11 (8 data bits), XBE for the ninth bit
  }
  return 0;
}

RegisterWrites InitRegisterWrites(const BaudTarget& target, std::uint32_t select, std::uint32_t smod) {
  const bool fast = (select & 1U) != 0;
  RegisterWrites writes;
  // PCON.SMOD (bit 7) for the ports it doubles.
  writes["PCON"] = smod != 0 ? RegisterWrite{"PCON", 0xFF, 0x80} : RegisterWrite{"PCON", 0x7F, 0x00};
  // AUXR's clock bit for Timer 2 (bit 2, T2x12) and the STC12's baud-rate
  // generator (bit 2, BRTx12), with bit 0 (S1ST2 / S1BRS) set so that UART1
  // takes its rate from that timer.
  writes["AUXR_SET"] = {"AUXR", 0xFF, fast ? 0x05U : 0x01U};
  // Timer 1's clock bit (AUXR bit 6, T1x12) with bit 0 cleared so that
  // UART1 takes its rate from Timer 1.
  writes["AUXR_CLOCK"] = {"AUXR", 0xBE, fast ? 0x40U : 0x00U};
  // Timer 2 for UART2 to UART4: stopped, timing, T2x12; S1ST2 kept.
  writes["AUXR_T2"] = {"AUXR", 0xE3, fast ? 0x04U : 0x00U};
  // The STC12's baud-rate generator for UART2: stopped, BRTx12 and S2SMOD.
  writes["AUXR_BRT2"] = {"AUXR", 0xE3, (fast ? 0x04U : 0x00U) | (smod != 0 ? 0x08U : 0x00U)};
  // Timers 3 and 4: stopped, timing, T3x12 / T4x12; the other timer's bits kept.
  writes["T4T3M_CLOCK"] = target.generator == GeneratorKind::StcTimer4
                              ? RegisterWrite{"T4T3M", 0x1F, fast ? 0x20U : 0x00U}
                              : RegisterWrite{"T4T3M", 0xF1, fast ? 0x02U : 0x00U};
  switch (target.clockSelect) {
    case ClockSelect::CkconT1M:
      // T1M at bit 4 (Nuvoton, Dallas).
      writes["CKCON_CLOCK"] = fast ? RegisterWrite{"CKCON", 0xFF, 0x10} : RegisterWrite{"CKCON", 0xEF, 0x00};
      // The Nuvoton's UART0 takes Timer 1 only while T3CON.BRCK (bit 5) is clear.
      writes["T3CON_BRCK"] = {"T3CON", 0xDF, 0x00};
      break;
    case ClockSelect::CkconSca: {
      // select = T1M x 4 + SCA: T1M (bit 3) alone for SYSCLK, the SCA
      // prescaler (bits 1..0) with T1M cleared otherwise.
      const bool sysclk = (select & 4U) != 0;
      writes["CKCON_CLOCK"] = sysclk ? RegisterWrite{"CKCON", 0xFF, 0x08} : RegisterWrite{"CKCON", 0xF4, select & 3U};
      break;
    }
    case ClockSelect::T2modT1Clk: {
      // select = bTMR_CLK x 2 + bT1_CLK; with bT1_CLK clear bTMR_CLK does
      // not matter to Timer 1 and stays as it is.
      const bool t1Fast = (select & 1U) != 0;
      const bool tmrFast = (select & 2U) != 0;
      writes["T2MOD_CLOCK"] = !t1Fast   ? RegisterWrite{"T2MOD", 0xDF, 0x00}
                              : tmrFast ? RegisterWrite{"T2MOD", 0xFF, 0xA0}
                                        : RegisterWrite{"T2MOD", 0x7F, 0x20};
      break;
    }
    case ClockSelect::T3conT3ps: {
      // T3PS in bits 2..0; BRCK (bit 5) set for UART0 only; TR3 (bit 3)
      // cleared until the reload is written.
      const bool uart0 = SerialPortOf(target) == SerialPort::Classic;
      writes["T3CON_SET"] = {"T3CON", 0xF0, (uart0 ? 0x20U : 0x00U) | (select & 7U)};
      break;
    }
    case ClockSelect::BdrconSpd:
      // BRR (bit 4) run, TBCK (bit 3) and RBCK (bit 2): both directions on
      // the generator; SPD (bit 1) the quicker count. SRC (bit 0, mode 0
      // only) and the unused bits 7..5 are kept.
      writes["BDRCON_RUN"] = {"BDRCON", 0xFF, fast ? 0x1EU : 0x1CU};
      break;
    // The AUXR and T4T3M clock bits are among the writes above, from which
    // each target's code takes what it names; a fixed clock has none.
    case ClockSelect::Fixed:
    case ClockSelect::AuxrT1x12:
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
    case ClockSelect::UxgcrBaudE:
    case ClockSelect::Sbcon1Bps:
    case ClockSelect::T3conDiv:  // T3CON is written whole by the generator's own statements
      break;
  }
  return writes;
}

}  // namespace tesmirol
