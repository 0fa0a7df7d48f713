#include "codegen/target_init_code.h"

#include "engine/target_texts.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "text/encoding.h"

namespace tesmirol {
namespace {

using Fills = std::map<std::string, std::string, std::less<>>;

// Replaces every "<NAME>" whose NAME has a fill, in one pass: text that a
// fill brings in (a crystal typed as "<RELOAD>") is never filled again, and
// other angle brackets ("<8051.h>") stay as they are.
std::string Fill(std::string_view piece, const Fills& fills) {
  std::string out;
  std::size_t pos = 0;
  while (pos < piece.size()) {
    const std::size_t open = piece.find('<', pos);
    if (open == std::string_view::npos) {
      break;
    }
    const std::size_t close = piece.find('>', open + 1);
    if (close == std::string_view::npos) {
      break;
    }
    const auto fill = fills.find(piece.substr(open + 1, close - open - 1));
    if (fill == fills.end()) {
      out.append(piece.substr(pos, open + 1 - pos));
      pos = open + 1;
      continue;
    }
    out.append(piece.substr(pos, open - pos)).append(fill->second);
    pos = close + 1;
  }
  out.append(piece.substr(pos));
  return out;
}

std::string Hex(std::uint32_t value) { return FormatReload(static_cast<std::int32_t>(value)); }

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

// The formula with the target's own constants, in the registers' names.
std::string Formula(const BaudTarget& target) {
  const std::string divider = std::to_string(target.divider);
  switch (target.generator) {
    case GeneratorKind::Timer1Mode2:
      return "2^SMOD x f / (" + divider + " x (256 - TH1))";
    case GeneratorKind::Timer2Rcap:
      return "f / (" + divider + " x (65536 - [RCAP2H,RCAP2L]))";
    case GeneratorKind::Stc15Timer2:
      return "f / (" + divider + " x (65536 - [T2H,T2L]))";
    case GeneratorKind::Stc15Timer1Mode0:
      return "f / (" + divider + " x (65536 - [TH1,TL1]))";
    case GeneratorKind::Stc12Brt:
      return "2^SMOD x f / (" + divider + " x (256 - BRT))";
    case GeneratorKind::StcTimer3:
    case GeneratorKind::StcTimer4:
    case GeneratorKind::N76Timer3:
    case GeneratorKind::Ch55xSbaud1:
    case GeneratorKind::SilabsTimer1:
      break;
  }
  return target.formula;
}

std::string_view GeneratorPiece(GeneratorKind generator) {
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

// Text in the chips field is UTF-8 in the catalogue; GBK (or plain ASCII)
// passes through unchanged.
std::string ChipsInGbk(const std::string& chips) { return text::Utf8ToGbk(chips).value_or(chips); }

Fills CommonFills(const TargetCodeRequest& request) {
  const BaudTarget& target = *request.target;
  const TargetSetting& setting = request.setting;
  const bool mode3 = request.uartMode == UartMode::Mode3;
  const std::string generator(GeneratorPiece(target.generator));
  return {
      {"CYSTRAL", request.crystalText},
      {"BPS", request.baudText},
      {"DATA_BITS", mode3 ? "9" : "8"},
      {"PARITY_TEXT", TargetCodeInline(mode3 ? "parity3" : "parity1")},
      {"ACHIEVED", TwoDecimals(setting.achievedNumerator, setting.achievedDenominator)},
      {"DEVIATION", FormatDeviation(setting.deviation)},
      {"CHIPS", ChipsInGbk(target.chips)},
      {"TARGET", target.name},
      {"GENERATOR_TEXT", TargetCodeInline("generator_" + generator)},
      {"CLOCKS", std::to_string(target.clocksPerCycle)},
      {"FORMULA", Formula(target)},
      {"SM0", mode3 ? "1" : "0"},
      {"UART_MODE", mode3 ? "3" : "1"},
      {"SCON", mode3 ? "0xC0" : "0x40"},
      {"RELOAD", Hex(setting.reload)},
      {"RELOAD_HIGH", Hex(setting.reloadHigh)},
      {"RELOAD_LOW", Hex(setting.reloadLow)},
      {"SMOD", setting.smod != 0 ? "1" : "0"},
      {"SMOD_TEXT", TargetCodeInline(setting.smod != 0 ? "smod1" : "smod0")},
      {"PCON", setting.smod != 0 ? "PCON |= 0x80" : "PCON &= 0x7F"},
      // AUXR's clock bit for Timer 2 (bit 2, T2x12) and the STC12's
      // baud-rate generator (bit 2, BRTx12), with bit 0 (S1ST2 / S1BRS) set
      // so that UART1 takes its rate from that timer.
      {"X12", target.clockFast ? "1" : "0"},
      {"AUXR_SET", target.clockFast ? "0x05" : "0x01"},
      // Timer 1's clock bit (AUXR bit 6, T1x12) with bit 0 cleared so that
      // UART1 takes its rate from Timer 1.
      {"T1X12", target.clockFast ? "1" : "0"},
      {"AUXR_CLOCK", target.clockFast ? "AUXR = (AUXR & 0xBE) | 0x40" : "AUXR &= 0xBE"},
      {"T1M", target.clockFast ? "1" : "0"},
      {"CKCON_CLOCK", target.clockFast ? "CKCON |= 0x10" : "CKCON &= 0xEF"},
  };
}

// The statements that pick the timer's clock, where SIO_Init picks it.
std::string_view ClockPiece(const BaudTarget& target) {
  switch (target.clockSelect) {
    case ClockSelect::AuxrT1x12:
      return "clock_auxr_t1x12";
    case ClockSelect::CkconT1M:
      return "clock_ckcon_t1m";
    case ClockSelect::AuxrT2x12:
    case ClockSelect::AuxrBrtx12:
    case ClockSelect::T4t3mT3x12:
    case ClockSelect::T4t3mT4x12:
    case ClockSelect::T3conT3ps:
    case ClockSelect::T2modT1Clk:
    case ClockSelect::CkconSca:
      return {};  // part of the generator's own statements
    case ClockSelect::Fixed:
      break;
  }
  return target.clocksPerCycle == 6 ? "clock_6t" : "";
}

// The generator's register statements: its clock, its timer and reload,
// SMOD where it doubles the rate, and the start of Timer 1 where Timer 1
// is the generator.
std::string GeneratorStatements(const BaudTarget& target) {
  std::string text;
  const std::string_view clock = ClockPiece(target);
  if (!clock.empty()) {
    text += TargetCodeFragment(clock);
  }
  text += TargetCodeFragment(GeneratorPiece(target.generator));
  if (target.smodDoubles) {
    text += TargetCodeFragment("pcon");
  }
  if (target.generator == GeneratorKind::Timer1Mode2 || target.generator == GeneratorKind::Stc15Timer1Mode0) {
    text += TargetCodeFragment("timer1_start");
  }
  return text;
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
    if (target.generator == GeneratorKind::Timer2Rcap) {
      code += TargetCodeFragment("sfr8052");
    }
    code += RegisterDeclarations(registers);
    code += "\r\n";
  }
  code += TargetCodeFragment("begin");
  code += GeneratorStatements(target);
  code += TargetCodeFragment("end");
  return Fill(code, CommonFills(request));
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
