#include "codegen/target_asm_code.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "codegen/init_choices.h"
#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/target_catalogue.h"

// The bytes of codegen/target_asm_fragments.txt and of its English twin
// target_asm_fragments.en.txt, compiled in by the build.
std::span<const unsigned char> EmbeddedTargetAsmFragments();
std::span<const unsigned char> EmbeddedTargetAsmFragmentsEnglish();

namespace tesmirol {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string_view AsText(std::span<const unsigned char> bytes) {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the bytes are the file's characters
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string Piece(std::string_view name, Language language) {
  static const FragmentTable chinese(AsText(EmbeddedTargetAsmFragments()));
  static const FragmentTable english(AsText(EmbeddedTargetAsmFragmentsEnglish()));
  return std::string((language == Language::English ? english : chinese).Find(name));
}

std::string InlinePiece(std::string_view name, Language language) {
  std::string piece = Piece(name, language);
  if (piece.ends_with(kLineEnd)) {
    piece.resize(piece.size() - kLineEnd.size());
  }
  return piece;
}

std::string SyntaxPiece(AsmSyntax syntax, std::string_view name, Language language) {
  return Piece((syntax == AsmSyntax::A51 ? "a51_" : "sdas_") + std::string(name), language);
}

// A byte as the syntax writes numbers: "0BEH", "40H" for A51 (a leading 0
// before a letter, so that the number is not read as a name), "0xBE" for
// sdas8051.
std::string Number(std::uint32_t value, AsmSyntax syntax) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string digits;
  digits += kDigits[(value >> 4U) & 0x0FU];
  digits += kDigits[value & 0x0FU];
  if (syntax == AsmSyntax::Sdas) {
    return "0x" + digits;
  }
  return (digits.front() > '9' ? "0" : "") + digits + "H";
}

// "X_EF": how the pieces name a constant byte.
std::string ConstantName(std::uint32_t value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string name = "X_";
  name += kDigits[(value >> 4U) & 0x0FU];
  name += kDigits[value & 0x0FU];
  return name;
}

// REG = (REG & keep) | set as instructions: ANL clears, ORL sets.
std::string MaskedWrite(const RegisterWrite& write, AsmSyntax syntax) {
  const std::string reg(write.reg);
  std::string text;
  if (write.keep != 0xFF) {
    text += "\tANL\t" + reg + ",#" + Number(write.keep, syntax);
  }
  if (write.set != 0 || write.keep == 0xFF) {
    text += (text.empty() ? "" : std::string(kLineEnd)) + "\tORL\t" + reg + ",#" + Number(write.set, syntax);
  }
  return text;
}

std::string DriverName(const BaudTarget& target) {
  std::string name = target.uart.empty() ? "UART0" : target.uart;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return name;
}

std::string InitName(const BaudTarget& target) { return target.function.empty() ? "SIO_Init" : target.function; }

// Whether the request's frame has a ninth bit that send and receive pass
// (mode 3); the CC253x USART sends 8N2's second stop bit itself (UxUCR.SPB).
bool IsNineBitFrame(const TargetCodeRequest& request) {
  return request.target->generator != GeneratorKind::CcUsart &&
         FrameUartModeOf(CodeFrame(request)) == FrameUartMode::Mode3;
}

// The C fills of the setting, with the numbers and the shared registers'
// statements in the syntax's own form, the labels and the registers that
// pass the byte.
TextFills AsmFills(const TargetCodeRequest& request, AsmSyntax syntax, Language language) {
  TargetCodeRequest polled = request;
  polled.enableInterrupt = false;
  TextFills fills = TargetInitFills(polled, language);
  fills["NOTES"] = HeaderNoteLines(request.notes, ";");
  const BaudTarget& target = *request.target;
  const TargetSetting& setting = request.setting;
  const SerialPort port = SerialPortOf(target);
  const ClockChoice clock = ChosenClock(target, setting);
  // The pieces' constants: <X_EF> is 0EFH or 0xEF.
  for (std::uint32_t value = 0; value <= 0xFF; ++value) {
    fills[ConstantName(value)] = Number(value, syntax);
  }
  const SerialFrame frame = CodeFrame(request);
  fills["SCON"] = Number(ControlValue(port, target, setting.smod, request.uartMode == UartMode::Mode3) |
                             (FrameSetsTb8(frame) ? 0x08U : 0x00U),
                         syntax);
  if (port == SerialPort::Efm8Uart1) {
    // The mode sits in SMOD1; SCON1 keeps TBX; SBCON1's prescaler code.
    fills["SMOD1"] = Number(ControlValue(port, target, setting.smod, request.uartMode == UartMode::Mode3), syntax);
    fills["SCON"] = Number(FrameSetsTb8(frame) ? 0x08U : 0x00U, syntax);
    fills["BPS_HEX"] = Number(clock.select & 7U, syntax);
  }
  if (target.clockSelect == ClockSelect::T3conDiv) {
    fills["T3CON_HEX"] = Number(0x80U | (clock.select & 7U), syntax);  // T3BAUDEN and DIV
  }
  fills["RELOAD"] = Number(setting.reload & 0xFFU, syntax);
  fills["RELOAD_HIGH"] = Number(setting.reloadHigh, syntax);
  fills["RELOAD_LOW"] = Number(setting.reloadLow, syntax);
  const RegisterWrites writes = InitRegisterWrites(target, clock.select, setting.smod);
  for (const auto& [name, write] : writes) {
    fills[name] = MaskedWrite(write, syntax);
  }
  fills["AUXR_SET"] = Number(writes.at("AUXR_SET").set, syntax);
  const AsmFunctionNames names = AsmFunctionNamesOf(target, syntax);
  const std::string driver = DriverName(target);
  const SerialPortFacts facts = SerialPortFactsOf(target);
  fills["U"] = driver;
  fills["LABEL"] = names.init;
  fills["SEND"] = driver + "_send";
  fills["RECEIVE"] = driver + "_receive";
  fills["SEND_LABEL"] = names.send;
  fills["RECEIVE_LABEL"] = names.receive;
  fills["ARG"] = syntax == AsmSyntax::A51 ? "R7" : "DPL";
  fills["ARG_HIGH"] = syntax == AsmSyntax::A51 ? "R6" : "DPH";
  fills["SBUF"] = std::string(facts.buffer);
  fills["TI"] = std::string(facts.ti);
  fills["RI"] = std::string(facts.ri);
  fills["CTRL"] = std::string(facts.control);
  fills["FLAG"] = std::string(facts.flagPrefix);
  if (target.generator == GeneratorKind::CcUsart) {
    // The C fills' "0xFB" masks and values in the syntax's numbers.
    for (const char* name :
         {"BAUD_E_HEX", "URXIE_KEEP", "UTXIE_KEEP", "URXIE_SET", "UTXIE_SET", "URXIF_KEEP", "UTXIF_KEEP", "UCR"}) {
      fills[name] = Number(static_cast<std::uint32_t>(std::stoul(fills.at(name), nullptr, 16)), syntax);
    }
  }
  if (IsNineBitFrame(request)) {
    const std::string_view kind = NinthBitName(frame);
    const bool data = kind == "data";
    for (const auto& [fill, piece] : {std::pair<std::string_view, std::string>{"NINTH_TEXT", "ninth_text_"},
                                      {"SEND_TAKES", data ? "takes_data" : "takes_byte"},
                                      {"CHECK_TEXT", "check_text_"},
                                      {"RECEIVE_RETURNS", data ? "returns_data" : "returns_error"}}) {
      const std::string name = piece.ends_with('_') ? piece + std::string(kind) : piece;
      fills[std::string(fill)] = FillText(InlinePiece(name, language), fills);
    }
    fills["NINTH_BIT"] = FillText(Piece("ninth_" + std::string(kind), language), fills);
    fills["CHECK"] = data ? std::string() : FillText(Piece("check_" + std::string(kind), language), fills);
  }
  return fills;
}

// The init function, then send and receive.
std::string UartText(const TargetCodeRequest& request, AsmSyntax syntax, Language language) {
  const BaudTarget& target = *request.target;
  std::string text = Piece("header", language);
  for (const std::string& piece : InitFunctionPieces(target, false)) {
    text += Piece(piece, language);
  }
  text += Piece("end", language);
  if (target.generator == GeneratorKind::CcUsart) {
    text += Piece("send_cc_usart", language) + Piece("receive_cc_usart", language);
    return FillText(text, AsmFills(request, syntax, language));
  }
  const bool byteFlags = !SerialPortFactsOf(SerialPortOf(target)).control.empty();
  const std::string frame = IsNineBitFrame(request) ? "_frame" : "";
  const std::string send = Piece((byteFlags ? "send_byte" : "send_bit") + frame, language);
  const std::string receive = Piece((byteFlags ? "receive_byte" : "receive_bit") + frame, language);
  TextFills fills = AsmFills(request, syntax, language);
  if (SerialPortOf(target) == SerialPort::Efm8Uart1) {
    // UART1's flags and data register answer on SFR page 0x20 only: the
    // public send and receive switch pages around the usual routines,
    // which take local labels.
    text += Piece("send_efm8_uart1", language) + Piece("receive_efm8_uart1", language);
    TextFills paged = fills;
    paged["SEND_LABEL"] = fills["U"] + "_send_paged";
    paged["RECEIVE_LABEL"] = fills["U"] + "_receive_paged";
    paged["SEND"] = paged["SEND_LABEL"];
    paged["RECEIVE"] = paged["RECEIVE_LABEL"];
    return FillText(text, fills) + FillText(send + receive, paged);
  }
  text += send + receive;
  return FillText(text, fills);
}

struct AsmSymbol {
  std::string_view name;
  std::uint8_t address = 0;
  bool bit = false;
};

// What sdas8051 must be told of the 8051's own registers and bits that the
// functions use; A51 knows them.
constexpr std::array<AsmSymbol, 13> kClassicSymbols{{
    {"SCON", 0x98, false},
    {"SBUF", 0x99, false},
    {"TMOD", 0x89, false},
    {"TL1", 0x8B, false},
    {"TH1", 0x8D, false},
    {"PCON", 0x87, false},
    {"IE", 0xA8, false},
    {"TR1", 0x8E, true},
    {"RI", 0x98, true},
    {"TI", 0x99, true},
    {"REN", 0x9C, true},
    {"ES", 0xAC, true},
    {"EA", 0xAF, true},
}};

// The ninth bits of a bit-addressable port that A51 or sdas8051 lacks (A51
// knows the 8051's TB8 and RB8); a port that is not bit-addressable has
// them in its control register.
std::vector<FlagBit> NinthBitSymbols(SerialPort port, AsmSyntax syntax) {
  switch (port) {
    case SerialPort::Classic:
      return syntax == AsmSyntax::Sdas ? std::vector<FlagBit>{{"TB8", 0x9B}, {"RB8", 0x9A}} : std::vector<FlagBit>{};
    case SerialPort::Silabs:
      return {{"TB80", 0x9B}};  // RB80 is declared with the port's flags
    case SerialPort::N76Uart1:
      return {{"TB8_1", 0xFB}};  // RB8_1 likewise
    case SerialPort::Ch55xUart1:
      return {{"U1TB8", 0xC3}, {"U1RB8", 0xC2}};
    case SerialPort::Efm8Uart1:
      return {{"TBX1", 0xCB}};  // RBX1 is declared with the port's flags
    case SerialPort::CcUsart:   // 8N2's second stop bit is the USART's own (UxUCR.SPB)
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
    case SerialPort::Stc3:
    case SerialPort::Stc4:
      break;
  }
  return {};
}

// The registers and bits the text uses beyond the 8051's, each once.
std::vector<AsmSymbol> ExtraSymbols(std::span<const TargetCodeRequest> requests, AsmSyntax syntax) {
  std::vector<const BaudTarget*> targets;
  std::transform(requests.begin(), requests.end(), std::back_inserter(targets),
                 [](const TargetCodeRequest& request) { return request.target; });
  std::vector<AsmSymbol> symbols;
  const auto add = [&symbols](std::string_view name, std::uint8_t address, bool bit) {
    if (std::none_of(symbols.begin(), symbols.end(), [&](const AsmSymbol& had) { return had.name == name; })) {
      symbols.push_back({name, address, bit});
    }
  };
  for (const ExtraRegister& reg : ExtraRegisters(targets)) {
    add(reg.name, reg.address, false);
  }
  for (const TargetCodeRequest& request : requests) {
    const SerialPort port = SerialPortOf(*request.target);
    const SerialPortFacts facts = SerialPortFactsOf(*request.target);
    if (!facts.bufferRegister.name.empty()) {
      add(facts.bufferRegister.name, facts.bufferRegister.address, false);
    }
    for (const FlagBit& bit : facts.bits) {
      add(bit.name, bit.address, true);
    }
    if (IsNineBitFrame(request)) {
      for (const FlagBit& bit : NinthBitSymbols(port, syntax)) {
        add(bit.name, bit.address, true);
      }
    }
  }
  return symbols;
}

std::string Declarations(std::span<const TargetCodeRequest> requests, AsmSyntax syntax, Language language) {
  std::vector<AsmSymbol> symbols = ExtraSymbols(requests, syntax);
  if (syntax == AsmSyntax::Sdas) {
    symbols.insert(symbols.begin(), kClassicSymbols.begin(), kClassicSymbols.end());
  }
  if (symbols.empty()) {
    return {};
  }
  std::string text = SyntaxPiece(syntax, "registers", language);
  for (const AsmSymbol& symbol : symbols) {
    const std::string name(symbol.name);
    if (syntax == AsmSyntax::Sdas) {
      text += "\t" + name + "\t=\t" + Number(symbol.address, syntax) + std::string(kLineEnd);
    } else {
      text +=
          name + "\t" + (symbol.bit ? "BIT" : "DATA") + "\t" + Number(symbol.address, syntax) + std::string(kLineEnd);
    }
  }
  return text;
}

std::string Prototypes(std::span<const TargetCodeRequest> requests) {
  std::string text;
  for (const TargetCodeRequest& request : requests) {
    const std::string driver = DriverName(*request.target);
    text += ";     void " + InitName(*request.target) + "(void);" + std::string(kLineEnd);
    const SerialFrame frame = CodeFrame(request);
    const bool nine = IsNineBitFrame(request);
    text += ";     void " + driver + "_send(";
    text += nine && frame.dataBits == 9 ? "unsigned int" : "unsigned char";
    text += " c);" + std::string(kLineEnd);
    text += nine ? ";     unsigned int " : ";     unsigned char ";
    text += driver + "_receive(void);" + std::string(kLineEnd);
  }
  return text.substr(0, text.size() - kLineEnd.size());
}

std::string Publics(std::span<const TargetCodeRequest> requests, AsmSyntax syntax) {
  std::string text;
  const std::string directive = syntax == AsmSyntax::A51 ? "\tPUBLIC\t" : "\t.globl\t";
  for (const TargetCodeRequest& request : requests) {
    const AsmFunctionNames names = AsmFunctionNamesOf(*request.target, syntax);
    for (const std::string* name : {&names.init, &names.send, &names.receive}) {
      text += directive + *name + std::string(kLineEnd);
    }
  }
  return text;
}

}  // namespace

bool AsmCoversTarget(const BaudTarget& target) {
  // Every generator and serial port has its pieces; a new one added to the
  // catalogue must get them before the assembly text offers it.
  const SerialPort port = SerialPortOf(target);
  const std::vector<std::string> pieces = InitFunctionPieces(target, false);
  return std::all_of(pieces.begin(), pieces.end(),
                     [](const std::string& piece) { return !Piece(piece, Language::Chinese).empty(); }) &&
         !SerialPortFactsOf(port).buffer.empty();
}

std::vector<std::string> AsmCoveredTargetNames() {
  std::vector<std::string> names;
  for (const BaudTarget& target : BaudTargets()) {
    if (AsmCoversTarget(target)) {
      names.push_back(target.name);
    }
  }
  return names;
}

AsmFunctionNames AsmFunctionNamesOf(const BaudTarget& target, AsmSyntax syntax) {
  const std::string driver = DriverName(target);
  if (syntax == AsmSyntax::Sdas) {
    return {"_" + InitName(target), "_" + driver + "_send", "_" + driver + "_receive"};
  }
  // C51 puts an underscore before the name of a function that takes its
  // arguments in registers, and none before one without arguments.
  return {InitName(target), "_" + driver + "_send", driver + "_receive"};
}

std::string GenerateAsmDriver(std::span<const TargetCodeRequest> requests, AsmSyntax syntax, Language language) {
  std::vector<TargetCodeRequest> kept;
  std::copy_if(requests.begin(), requests.end(), std::back_inserter(kept),
               [](const TargetCodeRequest& request) { return request.target != nullptr; });
  if (kept.empty()) {
    return {};
  }
  const bool nine =
      std::any_of(kept.begin(), kept.end(), [](const TargetCodeRequest& request) { return IsNineBitFrame(request); });
  std::string text =
      FillText(SyntaxPiece(syntax, "file_header", language),
               {{"FILE_TITLE", InlinePiece("file_title", language)},
                {"PROTOTYPES", Prototypes(kept)},
                {"FRAME_NOTE",
                 nine ? InlinePiece(std::string(syntax == AsmSyntax::A51 ? "a51" : "sdas") + "_frame_note", language)
                      : std::string()}});
  text += Declarations(kept, syntax, language);
  text += SyntaxPiece(syntax, "code", language);
  text += Publics(kept, syntax);
  for (const TargetCodeRequest& request : kept) {
    text += UartText(request, syntax, language);
  }
  text += SyntaxPiece(syntax, "end", language);
  return text;
}

}  // namespace tesmirol
