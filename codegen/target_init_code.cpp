#include "codegen/target_init_code.h"

#include "engine/target_texts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "text/encoding.h"

namespace tesmirol {
namespace {

using Fills = TextFills;

std::string Fill(std::string_view piece, const Fills& fills) { return FillText(piece, fills); }

std::string Hex(std::uint32_t value) { return FormatReload(static_cast<std::int32_t>(value)); }

// A register value as "0x" and two upper-case digits ("0x40", "0x05").
std::string Byte(std::uint32_t value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "0x";
  text += kDigits[(value >> 4U) & 0x0FU];
  text += kDigits[value & 0x0FU];
  return text;
}

std::string Bit(bool set) { return set ? "1" : "0"; }

// The achieved rate num / den with two decimals, rounded half up, in whole
// numbers so that no floating-point step can change a digit.
std::string TwoDecimals(std::uint64_t numerator, std::uint64_t denominator) {
  if (denominator == 0) {
    return "?";
  }
  const std::uint64_t whole = numerator / denominator;
  const std::uint64_t hundredths = (numerator % denominator * 200 + denominator) / (2 * denominator);
  const std::uint64_t carried = whole + hundredths / 100;
  const std::uint64_t cents = hundredths % 100;
  return std::to_string(carried) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

// The clock the setting runs the timer at: the target's clock choice of
// that index, or its one clock when it lists none.
ClockChoice ChosenClock(const BaudTarget& target, const TargetSetting& setting) {
  if (setting.clockIndex < target.clocks.size()) {
    return target.clocks[setting.clockIndex];
  }
  return ClockChoice{target.clocksPerCycle, target.divider, target.clockFast ? 1U : 0U};
}

// The init function's name; the first UART's when the catalogue names none.
std::string FunctionName(const BaudTarget& target) { return target.function.empty() ? "SIO_Init" : target.function; }

// The UART's number as the chip's manual counts them ("2" for UART2).
std::string UartNumber(const BaudTarget& target) {
  const std::string& uart = target.uart;
  return !uart.empty() && uart.back() >= '0' && uart.back() <= '9' ? uart.substr(uart.size() - 1) : "1";
}

// The bit that doubles the rate, where the port has one.
std::string_view DoublingBit(SerialPort port) {
  switch (port) {
    case SerialPort::Stc12Uart2:
      return "S2SMOD";
    case SerialPort::Ch55xUart1:
      return "U1SMOD";
    case SerialPort::Classic:
    case SerialPort::Silabs:
    case SerialPort::Stc2:
    case SerialPort::Stc3:
    case SerialPort::Stc4:
    case SerialPort::N76Uart1:
      break;
  }
  return "SMOD";
}

// The formula with the chosen clock's constant, in the registers' names.
std::string Formula(const BaudTarget& target, const ClockChoice& clock, SerialPort port) {
  const std::string divider = std::to_string(clock.divider);
  const std::string doubled = target.smodDoubles ? "2^" + std::string(DoublingBit(port)) + " x " : "";
  std::string_view count;
  switch (target.generator) {
    case GeneratorKind::Timer1Mode2:
    case GeneratorKind::SilabsTimer1:
      count = "256 - TH1";
      break;
    case GeneratorKind::Timer2Rcap:
      count = "65536 - [RCAP2H,RCAP2L]";
      break;
    case GeneratorKind::Stc15Timer2:
      count = "65536 - [T2H,T2L]";
      break;
    case GeneratorKind::Stc15Timer1Mode0:
      count = "65536 - [TH1,TL1]";
      break;
    case GeneratorKind::Stc12Brt:
      count = "256 - BRT";
      break;
    case GeneratorKind::StcTimer3:
      count = "65536 - [T3H,T3L]";
      break;
    case GeneratorKind::StcTimer4:
      count = "65536 - [T4H,T4L]";
      break;
    case GeneratorKind::N76Timer3:
      count = "65536 - [RH3,RL3]";
      break;
    case GeneratorKind::Ch55xSbaud1:
      count = "256 - SBAUD1";
      break;
  }
  return doubled + "f / (" + divider + " x (" + std::string(count) + "))";
}

// The name the generator's description goes by in the fragments.
std::string_view GeneratorName(GeneratorKind generator) {
  switch (generator) {
    case GeneratorKind::Timer1Mode2:
      return "timer1_mode2";
    case GeneratorKind::Timer2Rcap:
      return "timer2_rcap";
    case GeneratorKind::Stc15Timer2:
      return "stc15_timer2";
    case GeneratorKind::Stc15Timer1Mode0:
      return "timer1_mode0";
    case GeneratorKind::Stc12Brt:
      return "stc12_brt";
    case GeneratorKind::StcTimer3:
      return "stc_timer3";
    case GeneratorKind::StcTimer4:
      return "stc_timer4";
    case GeneratorKind::N76Timer3:
      return "n76_timer3";
    case GeneratorKind::Ch55xSbaud1:
      return "ch55x_sbaud1";
    case GeneratorKind::SilabsTimer1:
      return "silabs_timer1";
  }
  return {};
}

// The statements that set the generator up, after the clock's.
std::string_view GeneratorPiece(const BaudTarget& target, SerialPort port) {
  switch (target.generator) {
    case GeneratorKind::Stc15Timer2:
      // UART2 to UART4 leave AUXR.S1ST2, UART1's choice, alone.
      return port == SerialPort::Classic ? "stc15_timer2" : "stc15_timer2_shared";
    case GeneratorKind::Stc12Brt:
      return port == SerialPort::Stc12Uart2 ? "stc12_brt_uart2" : "stc12_brt";
    case GeneratorKind::N76Timer3:
      return port == SerialPort::N76Uart1 ? "n76_timer3_uart1" : "n76_timer3_uart0";
    case GeneratorKind::SilabsTimer1:
      return "timer1_mode2";
    case GeneratorKind::Timer1Mode2:
    case GeneratorKind::Timer2Rcap:
    case GeneratorKind::Stc15Timer1Mode0:
    case GeneratorKind::StcTimer3:
    case GeneratorKind::StcTimer4:
    case GeneratorKind::Ch55xSbaud1:
      break;
  }
  return GeneratorName(target.generator);
}

// The statements that disable the port's interrupt and set its mode, and
// those that enable reception and the interrupt.
std::string_view BeginPiece(SerialPort port) {
  switch (port) {
    case SerialPort::Classic:
      return "begin";
    case SerialPort::Silabs:
      return "begin_silabs";
    case SerialPort::Stc2:
      return "begin_stc_s2";
    case SerialPort::Stc12Uart2:
      return "begin_stc12_s2";
    case SerialPort::Stc3:
      return "begin_stc_s3";
    case SerialPort::Stc4:
      return "begin_stc_s4";
    case SerialPort::N76Uart1:
      return "begin_n76_uart1";
    case SerialPort::Ch55xUart1:
      return "begin_ch55x_uart1";
  }
  return {};
}

std::string_view EnableSuffix(SerialPort port) {
  switch (port) {
    case SerialPort::Classic:
      return "";
    case SerialPort::Silabs:
      return "_silabs";
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
      return "_stc_s2";
    case SerialPort::Stc3:
      return "_stc_s3";
    case SerialPort::Stc4:
      return "_stc_s4";
    case SerialPort::N76Uart1:
      return "_n76_uart1";
    case SerialPort::Ch55xUart1:
      return "_ch55x_uart1";
  }
  return {};
}

// Reception on, and the interrupt too unless the caller polls the flags.
std::string EnablePiece(SerialPort port, bool enableInterrupt) {
  return std::string(enableInterrupt ? "enable" : "enable_polled") + std::string(EnableSuffix(port));
}

// The names of the port's ninth bit to send and the one received.
std::pair<std::string_view, std::string_view> NinthBits(SerialPort port) {
  switch (port) {
    case SerialPort::Classic:
      break;
    case SerialPort::Silabs:
      return {"TB80", "RB80"};
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
      return {"S2TB8", "S2RB8"};
    case SerialPort::Stc3:
      return {"S3TB8", "S3RB8"};
    case SerialPort::Stc4:
      return {"S4TB8", "S4RB8"};
    case SerialPort::N76Uart1:
      return {"TB8_1", "RB8_1"};
    case SerialPort::Ch55xUart1:
      return {"U1TB8", "U1RB8"};
  }
  return {"TB8", "RB8"};
}

// Whether S3CON.S3ST3 / S4CON.S4ST4 picks the UART's own timer (3 or 4)
// rather than Timer 2.
bool OwnTimer(const BaudTarget& target) {
  return target.generator == GeneratorKind::StcTimer3 || target.generator == GeneratorKind::StcTimer4;
}

// The control register's value with reception still off: the mode (8 or 9
// data bits), and where the register holds them, the timer choice of UART3
// and UART4 and the CH55x UART1's doubling bit.
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
  }
  return 0;
}

// "REG = (REG & keep) | set" or, with nothing to set, "REG &= keep".
std::string MaskedWrite(std::string_view reg, std::uint32_t keep, std::uint32_t set) {
  const std::string name(reg);
  if (set == 0) {
    return name + " &= " + Byte(keep);
  }
  return name + " = (" + name + " & " + Byte(keep) + ") | " + Byte(set);
}

// The statement and comment bits of the clock choice, for whichever
// selector the target has. select is the selector field's value (see
// ClockChoice).
void AddClockFills(Fills& fills, const BaudTarget& target, std::uint32_t select, std::uint32_t smod) {
  const bool fast = (select & 1U) != 0;
  // AUXR's clock bit for Timer 2 (bit 2, T2x12) and the STC12's baud-rate
  // generator (bit 2, BRTx12), with bit 0 (S1ST2 / S1BRS) set so that UART1
  // takes its rate from that timer.
  fills["X12"] = Bit(fast);
  fills["AUXR_SET"] = fast ? "0x05" : "0x01";
  // Timer 1's clock bit (AUXR bit 6, T1x12) with bit 0 cleared so that
  // UART1 takes its rate from Timer 1.
  fills["T1X12"] = Bit(fast);
  fills["AUXR_CLOCK"] = fast ? "AUXR = (AUXR & 0xBE) | 0x40" : "AUXR &= 0xBE";
  // Timer 2 for UART2 to UART4: stopped, timing, T2x12; S1ST2 kept.
  fills["AUXR_T2"] = MaskedWrite("AUXR", 0xE3, fast ? 0x04U : 0x00U);
  // The STC12's baud-rate generator for UART2: stopped, BRTx12 and S2SMOD.
  fills["AUXR_BRT2"] = MaskedWrite("AUXR", 0xE3, (fast ? 0x04U : 0x00U) | (smod != 0 ? 0x08U : 0x00U));
  // Timers 3 and 4: stopped, timing, T3x12 / T4x12; the other timer's bits kept.
  fills["T4T3M_CLOCK"] = target.generator == GeneratorKind::StcTimer4
                             ? MaskedWrite("T4T3M", 0x1F, fast ? 0x20U : 0x00U)
                             : MaskedWrite("T4T3M", 0xF1, fast ? 0x02U : 0x00U);
  switch (target.clockSelect) {
    case ClockSelect::CkconT1M:
      // T1M at bit 4 (Nuvoton, Dallas).
      fills["T1M"] = Bit(fast);
      fills["CKCON_CLOCK"] = fast ? "CKCON |= 0x10" : "CKCON &= 0xEF";
      break;
    case ClockSelect::CkconSca: {
      // select = T1M x 4 + SCA: T1M (bit 3) alone for SYSCLK, the SCA
      // prescaler (bits 1..0) with T1M cleared otherwise.
      const bool sysclk = (select & 4U) != 0;
      const std::uint32_t sca = select & 3U;
      fills["T1M"] = Bit(sysclk);
      fills["SCA1"] = sysclk ? "?" : Bit((sca & 2U) != 0);
      fills["SCA0"] = sysclk ? "?" : Bit((sca & 1U) != 0);
      fills["CKCON_CLOCK"] = sysclk ? "CKCON |= 0x08" : MaskedWrite("CKCON", 0xF4, sca);
      break;
    }
    case ClockSelect::T2modT1Clk: {
      // select = bTMR_CLK x 2 + bT1_CLK; with bT1_CLK clear bTMR_CLK does
      // not matter to Timer 1 and stays as it is.
      const bool t1Fast = (select & 1U) != 0;
      const bool tmrFast = (select & 2U) != 0;
      fills["T1_CLK"] = Bit(t1Fast);
      fills["TMR_CLK"] = t1Fast ? Bit(tmrFast) : "?";
      fills["T2MOD_CLOCK"] = !t1Fast ? "T2MOD &= 0xDF" : tmrFast ? "T2MOD |= 0xA0" : "T2MOD = (T2MOD & 0x7F) | 0x20";
      break;
    }
    case ClockSelect::T3conT3ps: {
      // T3PS in bits 2..0; BRCK (bit 5) set for UART0 only; TR3 (bit 3)
      // cleared until the reload is written.
      const std::uint32_t prescaler = select & 7U;
      const bool uart0 = SerialPortOf(target) == SerialPort::Classic;
      fills["T3PS"] = std::to_string(prescaler);
      fills["T3PS2"] = Bit((prescaler & 4U) != 0);
      fills["T3PS1"] = Bit((prescaler & 2U) != 0);
      fills["T3PS0"] = Bit((prescaler & 1U) != 0);
      fills["T3CON_SET"] = MaskedWrite("T3CON", 0xF0, (uart0 ? 0x20U : 0x00U) | prescaler);
      break;
    }
    case ClockSelect::Fixed:
    case ClockSelect::AuxrT1x12:
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
      break;
  }
}

// Text in the chips field is UTF-8 in the catalogue; GBK (or plain ASCII)
// passes through unchanged.
std::string ChipsInGbk(const std::string& chips) { return text::Utf8ToGbk(chips).value_or(chips); }

Fills CommonFills(const TargetCodeRequest& request) {
  const BaudTarget& target = *request.target;
  const TargetSetting& setting = request.setting;
  const SerialPort port = SerialPortOf(target);
  const ClockChoice clock = ChosenClock(target, setting);
  const bool mode3 = request.uartMode == UartMode::Mode3;
  const auto [tb8, rb8] = NinthBits(port);
  Fills fills = {
      {"FUNCTION", FunctionName(target)},
      {"UART_NUMBER", UartNumber(target)},
      {"CYSTRAL", request.crystalText},
      {"BPS", request.baudText},
      {"DATA_BITS", mode3 ? "9" : "8"},
      {"TB8", std::string(tb8)},
      {"RB8", std::string(rb8)},
      {"ACHIEVED", TwoDecimals(setting.achievedNumerator, setting.achievedDenominator)},
      {"DEVIATION", FormatDeviation(setting.deviation)},
      {"CHIPS", ChipsInGbk(target.chips)},
      {"TARGET", target.name},
      {"CLOCKS", std::to_string(clock.clocksPerCycle)},
      {"FORMULA", Formula(target, clock, port)},
      {"SM0", mode3 ? "1" : "0"},
      {"UART_MODE", mode3 ? "3" : "1"},
      {"SCON", Byte(ControlValue(port, target, setting.smod, mode3))},
      {"ST", Bit(OwnTimer(target))},
      {"RELOAD", Hex(setting.reload)},
      {"RELOAD_HIGH", Hex(setting.reloadHigh)},
      {"RELOAD_LOW", Hex(setting.reloadLow)},
      {"SMOD", setting.smod != 0 ? "1" : "0"},
      {"SMOD_TEXT", TargetCodeInline(setting.smod != 0 ? "smod1" : "smod0")},
      {"PCON", setting.smod != 0 ? "PCON |= 0x80" : "PCON &= 0x7F"},
  };
  AddClockFills(fills, target, clock.select, setting.smod);
  // Pieces of text that hold fills of their own.
  std::string_view timer = "st_timer2";
  if (target.generator == GeneratorKind::StcTimer3) {
    timer = "st_timer3";
  } else if (target.generator == GeneratorKind::StcTimer4) {
    timer = "st_timer4";
  }
  fills["ST_TEXT"] = TargetCodeInline(timer);
  fills["PARITY_TEXT"] = Fill(TargetCodeInline(mode3 ? "parity3" : "parity1"), fills);
  fills["GENERATOR_TEXT"] = Fill(TargetCodeInline("generator_" + std::string(GeneratorName(target.generator))), fills);
  return fills;
}

// The statements that pick the timer's clock, where the generator's own
// statements do not.
std::string_view ClockPiece(const BaudTarget& target) {
  switch (target.clockSelect) {
    case ClockSelect::AuxrT1x12:
      return "clock_auxr_t1x12";
    case ClockSelect::CkconT1M: {
      // The Dallas CKCON's T1M gives f/4, the Nuvoton one's Fsys.
      const bool dallas = std::any_of(target.clocks.begin(), target.clocks.end(),
                                      [](const ClockChoice& clock) { return clock.clocksPerCycle == 4; });
      return dallas ? "clock_ckcon_t1m_dallas" : "clock_ckcon_t1m";
    }
    case ClockSelect::T2modT1Clk:
      return "clock_t2mod";
    case ClockSelect::CkconSca:
      return "clock_ckcon_sca";
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
    case ClockSelect::T3conT3ps:
      return {};  // part of the generator's own statements
    case ClockSelect::Fixed:
      break;
  }
  return target.clocksPerCycle == 6 ? "clock_6t" : "";
}

bool StartsTimer1(GeneratorKind generator) {
  return generator == GeneratorKind::Timer1Mode2 || generator == GeneratorKind::Stc15Timer1Mode0 ||
         generator == GeneratorKind::SilabsTimer1;
}

// The generator's register statements: its clock, its timer and reload,
// PCON.SMOD where it doubles the rate (the other doubling bits sit in the
// registers the port and generator statements write), and the start of
// Timer 1 where Timer 1 is the generator.
std::string GeneratorStatements(const BaudTarget& target, SerialPort port) {
  std::string text;
  const std::string_view clock = ClockPiece(target);
  if (!clock.empty()) {
    text += TargetCodeFragment(clock);
  }
  text += TargetCodeFragment(GeneratorPiece(target, port));
  if (target.smodDoubles && port == SerialPort::Classic) {
    text += TargetCodeFragment("pcon");
  }
  if (StartsTimer1(target.generator)) {
    text += TargetCodeFragment("timer1_start");
  }
  return text;
}

// The function itself: the port's mode, the generator, reception and the
// interrupt on. The Nuvoton Timer 3 is written on SFR page 0, the caller's
// page restored at the end.
std::string FunctionBody(const BaudTarget& target, bool enableInterrupt) {
  const SerialPort port = SerialPortOf(target);
  const bool paged = target.generator == GeneratorKind::N76Timer3;
  std::string code = TargetCodeFragment("function");
  if (paged) {
    code += TargetCodeFragment("n76_locals");
    code += TargetCodeFragment("n76_page0");
  }
  code += TargetCodeFragment(BeginPiece(port));
  code += GeneratorStatements(target, port);
  code += TargetCodeFragment(EnablePiece(port, enableInterrupt));
  if (paged) {
    code += TargetCodeFragment("n76_page_restore");
  }
  code += TargetCodeFragment("end");
  return code;
}

}  // namespace

std::string GenerateTargetInitCode(const TargetCodeRequest& request) {
  if (request.target == nullptr) {
    return {};
  }
  const BaudTarget& target = *request.target;
  std::string code = TargetCodeFragment("header");
  const std::vector<ExtraRegister> registers = ExtraRegisters(target);
  if (!registers.empty()) {
    code += TargetCodeFragment("sfr");
    if (std::any_of(registers.begin(), registers.end(), [](const ExtraRegister& reg) { return reg.in8052Headers; })) {
      code += TargetCodeFragment("sfr8052");
    }
    code += RegisterDeclarations(registers);
    code += "\r\n";
  }
  code += FunctionBody(target, request.enableInterrupt);
  return Fill(code, CommonFills(request));
}

std::string GenerateTargetInitFunction(const TargetCodeRequest& request) {
  if (request.target == nullptr) {
    return {};
  }
  return Fill(TargetCodeFragment("header") + FunctionBody(*request.target, request.enableInterrupt),
              CommonFills(request));
}

GeneratedInitCode GenerateTargetCode(const TargetSolution* best, const TargetInputs& inputs, UartMode uartMode) {
  GeneratedInitCode code;
  if (best == nullptr || best->status != TargetStatus::Ok) {
    return code;
  }
  if (!IsWithinTolerance(best->best)) {
    code.outcome = GenerationOutcome::Warning;
    code.text = kDeviationWarningText;
    return code;
  }
  TargetCodeRequest request;
  request.target = best->target;
  request.setting = best->best;
  request.crystalText = inputs.crystalText;
  request.baudText = inputs.baudText;
  request.uartMode = uartMode;
  code.outcome = GenerationOutcome::Code;
  code.text = GenerateTargetInitCode(request);
  return code;
}

}  // namespace tesmirol
