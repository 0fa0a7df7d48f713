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

#include "codegen/init_choices.h"
#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "engine/texts.h"
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
    case SerialPort::CcUsart:
    case SerialPort::Efm8Uart1:
      break;
  }
  return "SMOD";
}

// The formula with the chosen clock's constant, in the registers' names.
std::string Formula(const BaudTarget& target, const ClockChoice& clock, SerialPort port) {
  if (target.generator == GeneratorKind::CcUsart) {
    const std::string n = UartNumber(target);
    return "f x (256 + U" + n + "BAUD) / " + std::to_string(clock.divider) +
           " (2^28 / 2^BAUD_E, BAUD_E = " + std::to_string(clock.select) + ")";
  }
  const std::string divider = std::to_string(clock.divider);
  if (target.generator == GeneratorKind::AducT3) {
    return "4 x f / (" + divider + " x (64 + T3FD)) (2^DIV = " + divider + ")";
  }
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
    case GeneratorKind::Efm8Uart1:
      count = "65536 - [SBRLH1,SBRLL1]";
      break;
    case GeneratorKind::NrfS0rel:
      count = "1024 - [S0RELH,S0RELL]";
      break;
    case GeneratorKind::AtmelBrg:
      count = "256 - BRL";
      break;
    case GeneratorKind::CcUsart:
    case GeneratorKind::AducT3:
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
    case GeneratorKind::CcUsart:
      return "cc_usart";
    case GeneratorKind::Efm8Uart1:
      return "efm8_uart1";
    case GeneratorKind::NrfS0rel:
      return "nrf_s0rel";
    case GeneratorKind::AtmelBrg:
      return "atmel_brg";
    case GeneratorKind::AducT3:
      return "aduc_t3";
  }
  return {};
}

// The CC253x USART's exponent and its interrupt bits (SWRU191F Table 2-5):
// USART0 receives on interrupt 2 (URX0IE bit 2 of IEN0, URX0IF bit 3 of
// TCON) and sends on interrupt 7 (UTX0IE bit 2 of IEN2, UTX0IF bit 1 of
// IRCON2); USART1 on 3 (URX1IE bit 3, URX1IF bit 7) and 14 (UTX1IE bit 3,
// UTX1IF bit 2).
void AddCcUsartFills(Fills& fills, const BaudTarget& target, const ClockChoice& clock) {
  const bool usart1 = target.uart == "UART1";
  const std::uint32_t exponent = clock.select;
  fills["BAUD_E"] = std::to_string(exponent);
  fills["BAUD_E_HEX"] = Byte(exponent);
  std::string bits;
  for (int bit = 4; bit >= 0; --bit) {
    bits += Bit(((exponent >> static_cast<unsigned>(bit)) & 1U) != 0);
  }
  fills["BAUD_E_BITS"] = bits;
  const std::uint32_t enable = usart1 ? 0x08U : 0x04U;
  fills["URXIE_BIT"] = usart1 ? "3" : "2";
  fills["UTXIE_BIT"] = usart1 ? "3" : "2";
  fills["URXIE_SET"] = Byte(enable);
  fills["UTXIE_SET"] = Byte(enable);
  fills["URXIE_KEEP"] = Byte(~enable & 0xFFU);
  fills["UTXIE_KEEP"] = Byte(~enable & 0xFFU);
  fills["URXIF_KEEP"] = Byte(usart1 ? 0x7FU : 0xF7U);
  fills["UTXIF_KEEP"] = Byte(usart1 ? 0xFBU : 0xFDU);
  fills["RX_VECTOR"] = usart1 ? "3" : "2";
  fills["TX_VECTOR"] = usart1 ? "14" : "7";
  fills["COUNT_TEXT"] = "BAUD_M = " + fills["RELOAD"] + ", BAUD_E = " + std::to_string(exponent);
}

// UxUCR: FLUSH, no flow control, 8 data bits, no parity, STOP high, START
// low; SPB (bit 2) for the second stop bit of 8N2.
void AddCcUsartFrameFills(Fills& fills, const SerialFrame& frame) {
  const bool twoStops = frame.stopBits == 2;
  fills["UCR"] = Byte(twoStops ? 0x86U : 0x82U);
  fills["SPB"] = Bit(twoStops);
  fills["STOP_BITS"] = twoStops ? "2" : "1";
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
    case GeneratorKind::CcUsart:
    case GeneratorKind::Efm8Uart1:
    case GeneratorKind::NrfS0rel:
    case GeneratorKind::AtmelBrg:
    case GeneratorKind::AducT3:
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
    case SerialPort::CcUsart:
      return "begin_cc_usart";
    case SerialPort::Efm8Uart1:
      return "begin_efm8_uart1";
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
    case SerialPort::CcUsart:
      return "_cc_usart";
    case SerialPort::Efm8Uart1:
      return "_efm8_uart1";
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
    case SerialPort::CcUsart:
      return {"D9", "D9"};
    case SerialPort::Efm8Uart1:
      return {"TBX1", "RBX1"};
  }
  return {"TB8", "RB8"};
}

// The write as a C statement: "REG |= set", "REG &= keep" or
// "REG = (REG & keep) | set".
std::string MaskedWrite(const RegisterWrite& write) {
  const std::string name(write.reg);
  if (write.keep == 0xFF) {
    return name + " |= " + Byte(write.set);
  }
  if (write.set == 0) {
    return name + " &= " + Byte(write.keep);
  }
  return name + " = (" + name + " & " + Byte(write.keep) + ") | " + Byte(write.set);
}

// The comment bits of the clock choice, for whichever selector the target
// has, and the statements of the register writes. select is the selector
// field's value (see ClockChoice).
void AddClockFills(Fills& fills, const BaudTarget& target, std::uint32_t select, std::uint32_t smod) {
  const bool fast = (select & 1U) != 0;
  fills["X12"] = Bit(fast);
  fills["T1X12"] = Bit(fast);
  const RegisterWrites writes = InitRegisterWrites(target, select, smod);
  for (const auto& [name, write] : writes) {
    fills[name] = MaskedWrite(write);
  }
  // The STC Timer 2 and BRT pieces clear their bits first, then set these.
  fills["AUXR_SET"] = Byte(writes.at("AUXR_SET").set);
  switch (target.clockSelect) {
    case ClockSelect::CkconT1M:
      fills["T1M"] = Bit(fast);
      break;
    case ClockSelect::CkconSca: {
      const bool sysclk = (select & 4U) != 0;
      const std::uint32_t sca = select & 3U;
      fills["T1M"] = Bit(sysclk);
      fills["SCA1"] = sysclk ? "?" : Bit((sca & 2U) != 0);
      fills["SCA0"] = sysclk ? "?" : Bit((sca & 1U) != 0);
      break;
    }
    case ClockSelect::T2modT1Clk: {
      const bool t1Fast = (select & 1U) != 0;
      fills["T1_CLK"] = Bit(t1Fast);
      fills["TMR_CLK"] = t1Fast ? Bit((select & 2U) != 0) : "?";
      break;
    }
    case ClockSelect::T3conT3ps: {
      const std::uint32_t prescaler = select & 7U;
      fills["T3PS"] = std::to_string(prescaler);
      fills["T3PS2"] = Bit((prescaler & 4U) != 0);
      fills["T3PS1"] = Bit((prescaler & 2U) != 0);
      fills["T3PS0"] = Bit((prescaler & 1U) != 0);
      break;
    }
    case ClockSelect::T3conDiv: {
      // T3BAUDEN (bit 7) with DIV in bits 2..0; bits 6..3 are unused.
      const std::uint32_t div = select & 7U;
      fills["DIV"] = std::to_string(div);
      fills["DIV2"] = Bit((div & 4U) != 0);
      fills["DIV1"] = Bit((div & 2U) != 0);
      fills["DIV0"] = Bit((div & 1U) != 0);
      fills["T3CON_HEX"] = Byte(0x80U | div);
      break;
    }
    case ClockSelect::Fixed:
    case ClockSelect::AuxrT1x12:
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
    case ClockSelect::UxgcrBaudE:
    case ClockSelect::BdrconSpd:
      break;
    case ClockSelect::Sbcon1Bps: {
      // BPS (SBCON1 bits 2..0), written with BREN (bit 6) cleared first.
      fills["BPS_HEX"] = Byte(select & 7U);
      fills["BPS2"] = Bit((select & 4U) != 0);
      fills["BPS1"] = Bit((select & 2U) != 0);
      fills["BPS0"] = Bit((select & 1U) != 0);
      break;
    }
  }
}

}  // namespace

// The chips the target fits, in the language's words; a target the text
// tables do not know (one made up by a caller) keeps its own chips field,
// which is UTF-8 (GBK or plain ASCII passes through unchanged).
std::string TargetChipsText(const BaudTarget& target, Language language) {
  const std::optional<std::string_view> chips = TargetText(language, target.name, TargetTextField::Chips);
  return chips ? std::string(*chips) : text::Utf8ToGbk(target.chips).value_or(target.chips);
}

bool TargetCarriesFrame(const BaudTarget& target, const SerialFrame& frame) {
  return target.generator != GeneratorKind::CcUsart ||
         (frame.dataBits == 8 && frame.parity == Parity::None && (frame.stopBits == 1 || frame.stopBits == 2));
}

SerialFrame CodeFrame(const TargetCodeRequest& request) {
  const bool mode3 = request.uartMode == UartMode::Mode3;
  if ((FrameUartModeOf(request.frame) == FrameUartMode::Mode3) == mode3) {
    return request.frame;
  }
  return mode3 ? SerialFrame{9, Parity::None, 1} : SerialFrame{};
}

bool FrameSetsTb8(const SerialFrame& frame) noexcept {
  return FrameUartModeOf(frame) == FrameUartMode::Mode3 && frame.dataBits == 8 &&
         (frame.parity == Parity::Mark || (frame.parity == Parity::None && frame.stopBits == 2));
}

namespace {

// The piece that tells code writing the data register itself what to do
// with the ninth bit; none in mode 1.
std::string FrameNoteName(const SerialFrame& frame) {
  const std::string_view ninth = NinthBitName(frame);
  return ninth.empty() ? std::string() : "frame_note_" + std::string(ninth);
}

}  // namespace

TextFills TargetInitFills(const TargetCodeRequest& request, Language language) {
  const BaudTarget& target = *request.target;
  const TargetSetting& setting = request.setting;
  const SerialPort port = SerialPortOf(target);
  const ClockChoice clock = ChosenClock(target, setting);
  const bool mode3 = request.uartMode == UartMode::Mode3;
  const SerialFrame frame = CodeFrame(request);
  // 8M1 and 8N2 send a ninth bit of 1 with every byte: the control
  // register's write sets TB8 (D3 on every port) once for good.
  const bool tb8Set = FrameSetsTb8(frame);
  const auto [tb8, rb8] = NinthBits(port);
  const SerialPortFacts facts = SerialPortFactsOf(target);
  Fills fills = {
      {"FUNCTION", FunctionName(target)},
      {"UART_NUMBER", UartNumber(target)},
      {"CYSTRAL", request.crystalText},
      {"BPS", request.baudText},
      {"DATA_BITS", mode3 ? "9" : "8"},
      {"TB8", std::string(tb8)},
      {"RB8", std::string(rb8)},
      {"SBUF", std::string(facts.buffer)},
      {"RI", facts.ri.empty() ? std::string(facts.flagPrefix) + "RI" : std::string(facts.ri)},
      {"ACHIEVED", TwoDecimals(setting.achievedNumerator, setting.achievedDenominator)},
      {"DEVIATION", FormatDeviation(setting.deviation)},
      {"CHIPS", TargetChipsText(target, language)},
      {"TARGET", target.name},
      {"CLOCKS", std::to_string(clock.clocksPerCycle)},
      {"FORMULA", Formula(target, clock, port)},
      {"SM0", mode3 ? "1" : "0"},
      {"UART_MODE", mode3 ? "3" : "1"},
      {"SCON", Byte(ControlValue(port, target, setting.smod, mode3) | (tb8Set ? 0x08U : 0x00U))},
      {"TB8_BIT", Bit(tb8Set)},
      {"ST", Bit(OwnTimer(target))},
      {"RELOAD", Hex(setting.reload)},
      {"RELOAD_HIGH", Hex(setting.reloadHigh)},
      {"RELOAD_LOW", Hex(setting.reloadLow)},
      {"SMOD", setting.smod != 0 ? "1" : "0"},
      {"SMOD_TEXT", TargetCodeInline(setting.smod != 0 ? "smod1" : "smod0", language)},
  };
  AddClockFills(fills, target, clock.select, setting.smod);
  // Pieces of text that hold fills of their own.
  std::string_view timer = "st_timer2";
  if (target.generator == GeneratorKind::StcTimer3) {
    timer = "st_timer3";
  } else if (target.generator == GeneratorKind::StcTimer4) {
    timer = "st_timer4";
  }
  fills["ST_TEXT"] = TargetCodeInline(timer, language);
  fills["PARITY_TEXT"] = TargetCodeInline("parity1", language);
  std::string frameName = SerialFrameName(frame);
  std::transform(frameName.begin(), frameName.end(), frameName.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  fills["FRAME_TEXT"] = Fill(TargetCodeInline("frame_" + frameName, language), fills);
  // What code that writes the data register itself does with the ninth
  // bit, before the request's own notes.
  std::vector<std::string> notes;
  // The CC253x USART sends its second stop bit itself (UxUCR.SPB): no
  // ninth bit for code that writes the data register to mind.
  const bool ccUsart = target.generator == GeneratorKind::CcUsart;
  if (ccUsart) {
    fills["FRAME_TEXT"] =
        Fill(TargetCodeInline("frame_cc_usart", language), {{"STOP_BITS", frame.stopBits == 2 ? "2" : "1"}});
  }
  const std::string noteName = ccUsart ? std::string() : FrameNoteName(frame);
  if (!noteName.empty()) {
    const std::string note = Fill(TargetCodeInline(noteName, language), fills);
    for (std::size_t start = 0; start < note.size();) {
      const std::size_t end = std::min(note.find("\r\n", start), note.size());
      notes.push_back(note.substr(start, end - start));
      start = end + 2;
    }
  }
  notes.insert(notes.end(), request.notes.begin(), request.notes.end());
  fills["NOTES"] = HeaderNoteLines(notes, "//");
  if (target.generator == GeneratorKind::Timer2Rcap) {
    // In baud-rate mode Timer 2 counts at f/2 (f/1 in the 6-clock mode),
    // whatever the machine cycle, and the UART divides its overflow by 16:
    // the formula's f / (16 x count x (65536 - RCAP2)).
    fills["COUNT"] = std::to_string(clock.divider / 16);
    fills["COUNT_TEXT"] = Fill(TargetCodeInline("count_timer2", language), fills);
  } else if (target.generator == GeneratorKind::AducT3) {
    fills["COUNT_TEXT"] = Fill(TargetCodeInline("count_aduc_t3", language), fills);
  } else {
    fills["COUNT_TEXT"] = Fill(TargetCodeInline("count_timer", language), fills);
  }
  if (target.generator == GeneratorKind::CcUsart) {
    AddCcUsartFills(fills, target, clock);
    AddCcUsartFrameFills(fills, frame);
  }
  if (port == SerialPort::Efm8Uart1) {
    // The mode sits in SMOD1 (XBE adds the ninth bit); SCON1 keeps TBX.
    fills["SMOD1"] = Byte(ControlValue(port, target, setting.smod, mode3));
    fills["XBE"] = Bit(mode3);
    fills["SCON"] = Byte(tb8Set ? 0x08U : 0x00U);
  }
  fills["GENERATOR_TEXT"] =
      Fill(TargetCodeInline("generator_" + std::string(GeneratorName(target.generator)), language), fills);
  return fills;
}

namespace {

// The statements that pick the timer's clock, where the generator's own
// statements do not.
std::string_view ClockPiece(const BaudTarget& target) {
  switch (target.clockSelect) {
    case ClockSelect::AuxrT1x12:
      return "clock_auxr_t1x12";
    case ClockSelect::CkconT1M:
      // The Dallas CKCON's T1M gives f/4, the Nuvoton one's Fsys.
      return IsNuvotonTimer1(target) ? "clock_ckcon_t1m" : "clock_ckcon_t1m_dallas";
    case ClockSelect::T2modT1Clk:
      return "clock_t2mod";
    case ClockSelect::CkconSca:
      return "clock_ckcon_sca";
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
    case ClockSelect::T3conT3ps:
    case ClockSelect::UxgcrBaudE:
    case ClockSelect::Sbcon1Bps:
    case ClockSelect::BdrconSpd:
    case ClockSelect::T3conDiv:
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

// The function itself: the port's mode, the generator, reception and the
// interrupt on. The Nuvoton Timer 3 is written on SFR page 0, the caller's
// page restored at the end.
std::string FunctionBody(const BaudTarget& target, bool enableInterrupt, Language language) {
  std::string code = TargetCodeFragment("function", language);
  if (WritesOnSfrPage0(target)) {
    code += TargetCodeFragment("n76_locals", language);
  }
  if (WritesOnEfm8Pages(target)) {
    code += TargetCodeFragment("efm8_locals", language);
  }
  for (const std::string& piece : InitFunctionPieces(target, enableInterrupt)) {
    code += TargetCodeFragment(piece, language);
  }
  code += TargetCodeFragment("end", language);
  return code;
}

}  // namespace

std::vector<std::string> InitFunctionPieces(const BaudTarget& target, bool enableInterrupt) {
  const SerialPort port = SerialPortOf(target);
  const bool paged = WritesOnSfrPage0(target);
  std::vector<std::string> pieces;
  if (paged) {
    pieces.emplace_back("n76_page0");
  }
  pieces.emplace_back(BeginPiece(port));
  // The generator's register statements: its clock, its timer and reload,
  // PCON.SMOD where it doubles the rate (the other doubling bits sit in the
  // registers the port and generator statements write), and the start of
  // Timer 1 where Timer 1 is the generator.
  const std::string_view clock = ClockPiece(target);
  if (!clock.empty()) {
    pieces.emplace_back(clock);
  }
  pieces.emplace_back(GeneratorPiece(target, port));
  if (target.smodDoubles && port == SerialPort::Classic) {
    pieces.emplace_back("pcon");
  }
  if (StartsTimer1(target.generator)) {
    pieces.emplace_back("timer1_start");
  }
  pieces.push_back(EnablePiece(port, enableInterrupt));
  if (paged) {
    pieces.emplace_back("n76_page_restore");
  }
  return pieces;
}

namespace {

bool CodeFitsFrame(const TargetCodeRequest& request) { return TargetCarriesFrame(*request.target, CodeFrame(request)); }

}  // namespace

std::string GenerateTargetInitCode(const TargetCodeRequest& request, Language language) {
  if (request.target == nullptr || !CodeFitsFrame(request)) {
    return {};
  }
  const BaudTarget& target = *request.target;
  std::string code = TargetCodeFragment("header", language);
  const std::vector<ExtraRegister> registers = ExtraRegisters(target);
  if (!registers.empty()) {
    code += TargetCodeFragment("sfr", language);
    if (std::any_of(registers.begin(), registers.end(), [](const ExtraRegister& reg) { return reg.in8052Headers; })) {
      code += TargetCodeFragment("sfr8052", language);
    }
    code += RegisterDeclarations(registers);
    code += "\r\n";
  }
  code += FunctionBody(target, request.enableInterrupt, language);
  return Fill(code, TargetInitFills(request, language));
}

std::string GenerateTargetInitFunction(const TargetCodeRequest& request, Language language) {
  if (request.target == nullptr || !CodeFitsFrame(request)) {
    return {};
  }
  return Fill(TargetCodeFragment("header", language) + FunctionBody(*request.target, request.enableInterrupt, language),
              TargetInitFills(request, language));
}

GeneratedInitCode GenerateTargetCode(const TargetSolution* best, const TargetInputs& inputs, UartMode uartMode,
                                     Language language, HeaderNotes notes, const SerialFrame& frame,
                                     double tolerancePercent) {
  GeneratedInitCode code;
  if (best == nullptr || best->status != TargetStatus::Ok) {
    return code;
  }
  if (!IsWithinTolerance(best->best, tolerancePercent)) {
    code.outcome = GenerationOutcome::Warning;
    code.text = DeviationWarningText(language);
    return code;
  }
  TargetCodeRequest request;
  request.target = best->target;
  request.setting = best->best;
  request.crystalText = inputs.crystalText;
  request.baudText = inputs.baudText;
  request.uartMode = uartMode;
  request.notes.assign(notes.begin(), notes.end());
  request.frame = frame;
  code.outcome = GenerationOutcome::Code;
  code.text = GenerateTargetInitCode(request, language);
  return code;
}

}  // namespace tesmirol
