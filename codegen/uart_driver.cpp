#include "codegen/uart_driver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <map>
#include <span>
#include <string_view>

#include "codegen/target_code_fragments.h"
#include "codegen/target_registers.h"
#include "engine/texts.h"
#include "text/encoding.h"

// The bytes of codegen/uart_driver_fragments.txt and of its English twin
// uart_driver_fragments.en.txt, compiled in by the build.
std::span<const unsigned char> EmbeddedUartDriverFragments();
std::span<const unsigned char> EmbeddedUartDriverFragmentsEnglish();

namespace tesmirol {
namespace {

std::string_view AsText(std::span<const unsigned char> bytes) {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the bytes are the file's characters
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string Piece(std::string_view name, Language language) {
  static const FragmentTable chinese(AsText(EmbeddedUartDriverFragments()));
  static const FragmentTable english(AsText(EmbeddedUartDriverFragmentsEnglish()));
  return std::string((language == Language::English ? english : chinese).Find(name));
}

// The piece without its last line end, for a fill inside a line.
std::string InlinePiece(std::string_view name, Language language) {
  std::string piece = Piece(name, language);
  if (piece.ends_with("\r\n")) {
    piece.resize(piece.size() - 2);
  }
  return piece;
}

std::string Hex4(unsigned value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 12; shift >= 0; shift -= 4) {
    text += kDigits[(value >> static_cast<unsigned>(shift)) & 0x0FU];
  }
  return text;
}

std::string Hex2(std::uint8_t value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "0x";
  text += kDigits[value >> 4U];
  text += kDigits[value & 0x0FU];
  return text;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

std::string IndexType(const DriverOptions& options) {
  return std::max(options.rxSize, options.txSize) <= 128 ? "unsigned char" : "unsigned int";
}

// The receive and send flags as the comments name them: "S2CON的S2RI、S2TI"
// (in UTF-8 here) or "S2RI and S2TI of S2CON".
std::string FlagsText(const SerialPortFacts& facts, Language language) {
  const std::string control(facts.control);
  const std::string prefix(facts.flagPrefix);
  const std::string ri = facts.control.empty() ? std::string(facts.ri) : prefix + "RI";
  const std::string ti = facts.control.empty() ? std::string(facts.ti) : prefix + "TI";
  if (language == Language::English) {
    return ri + " and " + ti + (control.empty() ? "" : " of " + control);
  }
  return (control.empty() ? "" : control + "的") + ri + "、" + ti;
}

// The CC253x USART sends 8N2's second stop bit itself (UxUCR.SPB): no
// ninth bit to mind.
bool NeedsNinthBit(const TargetCodeRequest& request) {
  return request.target->generator != GeneratorKind::CcUsart &&
         FrameUartModeOf(DriverFrame(request)) == FrameUartMode::Mode3;
}

// Where a port keeps the 9th bit it sends (TB8) and the one it received
// (RB8): bits of a bit-addressable control register, declared where
// <8051.h> lacks them, or bits 3 and 2 of a control register that is not
// bit-addressable (the STC ports' S2CON, S3CON, S4CON).
struct NinthBits {
  std::string tb8;  // the bit's name; for a byte-wise port the name the comments use
  std::string rb8;
  std::vector<FlagBit> declare;
};

NinthBits NinthBitsOf(SerialPort port, const SerialPortFacts& facts) {
  switch (port) {
    case SerialPort::Classic:
      return {"TB8", "RB8", {}};
    case SerialPort::Silabs:
      return {"TB80", "RB80", {{"TB80", 0x9B}}};
    case SerialPort::N76Uart1:
      return {"TB8_1", "RB8_1", {{"TB8_1", 0xFB}}};
    case SerialPort::Ch55xUart1:
      return {"U1TB8", "U1RB8", {{"U1TB8", 0xC3}, {"U1RB8", 0xC2}}};
    case SerialPort::CcUsart:
      return {"D9", "D9", {}};
    case SerialPort::Efm8Uart1:
      return {"TBX1", "RBX1", {{"TBX1", 0xCB}}};
    case SerialPort::Stc2:
    case SerialPort::Stc12Uart2:
    case SerialPort::Stc3:
    case SerialPort::Stc4:
      break;
  }
  const std::string prefix(facts.flagPrefix);
  return {prefix + "TB8", prefix + "RB8", {}};
}

// Statements that set TB8 to a condition, at an indent of tabs.
std::string SetTb8(const SerialPortFacts& facts, const NinthBits& bits, std::string_view condition, int tabs) {
  const std::string indent(static_cast<std::size_t>(tabs), '\t');
  if (facts.control.empty()) {
    return indent + bits.tb8 + " = " + std::string(condition) + ";\r\n";
  }
  const std::string control(facts.control);
  return indent + "if (" + std::string(condition) + ")\r\n" + indent + "{\r\n" + indent + "\t" + control +
         " |= 0x08;// " + bits.tb8 + "\r\n" + indent + "}\r\n" + indent + "else\r\n" + indent + "{\r\n" + indent +
         "\t" + control + " &= ~0x08;\r\n" + indent + "}\r\n";
}

// The fills that send and check the 9th bit of mode 3 (empty for 8N1).
void AddNinthBitFills(const TargetCodeRequest& request, const DriverOptions& options, Language language,
                      TextFills& fills) {
  const SerialPort port = SerialPortOf(*request.target);
  const SerialPortFacts facts = SerialPortFactsOf(*request.target);
  const SerialFrame frame = DriverFrame(request);
  const bool polled = options.kind == DriverKind::Polled;
  for (const char* name :
       {"PARITY_USAGE", "FRAME_USAGE", "DECL_NINTH", "RING_NINTH", "POLLED_NINTH_VARS", "INIT_COUNTS", "INIT_AFTER",
        "PARITY_CHECK", "RX_STORE_NINTH", "TX_STORE_NINTH", "KICK_NINTH", "RX_TAKE_NINTH", "NINE_WRAPPERS",
        "PARITY_FUNCTION", "POLLED_SEND_NINTH", "POLLED_TAKE_NINTH"}) {
    fills[name] = "";
  }
  fills["WRITE"] = "write";
  fills["WRITE_TYPE"] = "unsigned char";
  fills["READ"] = "read";
  fills["ISR_SEND"] = FillText(Piece("isr_send_plain", language), fills);
  fills["STOP_NOTE"] = FillText(InlinePiece("stop_note_mode1", language), fills);
  if (!NeedsNinthBit(request)) {
    return;
  }
  const NinthBits bits = NinthBitsOf(port, facts);
  const std::string control(facts.control);
  fills["TB8_NAME"] = bits.tb8;
  fills["RB8_NAME"] = bits.rb8;
  fills["FRAME"] = SerialFrameName(frame);
  fills["RB8_BIT"] = control.empty() ? bits.rb8 : "(" + control + " & 0x04)";
  const std::string rb8Bool = control.empty() ? bits.rb8 : "((" + control + " & 0x04) != 0)";
  fills["FRAMING_TEXT"] = FillText(InlinePiece("framing_text_ninth", language), fills);
  if (frame.parity != Parity::None) {
    const std::string parity = std::string(NinthBitName(frame));
    fills["PARITY_WORD"] = InlinePiece("parity_word_" + parity, language);
    fills["PARITY_NOTE"] = InlinePiece("parity_note_" + parity, language);
    fills["PARITY_USAGE"] = FillText(InlinePiece("parity_usage", language), fills);
    fills["FRAME_USAGE"] = FillText(Piece("frame_parity", language), fills);
    fills["DECL_NINTH"] = FillText(InlinePiece("decl_parity", language), fills);
    fills["RING_NINTH"] = FillText(Piece("ring_parity", language), fills);
    fills["POLLED_NINTH_VARS"] = FillText(Piece("polled_parity", language), fills);
    fills["INIT_COUNTS"] = FillText(Piece("init_parity", language), fills);
    fills["PARITY_FUNCTION"] = FillText(Piece("parity_function", language), fills);
    const bool computed = frame.parity == Parity::Even || frame.parity == Parity::Odd;
    fills["PARITY_LOAD"] = computed ? FillText(Piece("parity_load", language), fills) : "";
    const std::map<Parity, std::string> bad = {{Parity::Even, "P != " + rb8Bool},
                                               {Parity::Odd, "P == " + rb8Bool},
                                               {Parity::Mark, "!" + fills["RB8_BIT"]},
                                               {Parity::Space, fills["RB8_BIT"]}};
    fills["PARITY_BAD"] = bad.at(frame.parity);
    fills["PARITY_CHECK"] = FillText(Piece("parity_check", language), fills);
    if (computed) {
      const std::string condition = frame.parity == Parity::Even ? "P" : "!P";
      fills["TB8_FROM_BYTE"] = SetTb8(facts, bits, condition, 3);
      fills["ISR_SEND"] = FillText(Piece("isr_send_parity", language), fills);
      fills["TB8_FROM_BYTE"] = SetTb8(facts, bits, condition, 2);
      fills["KICK_NINTH"] = FillText(Piece("kick_parity", language), fills) + fills["TB8_FROM_BYTE"];
      fills["POLLED_SEND_NINTH"] = fills["KICK_NINTH"];
    }
  }
  if (frame.parity == Parity::Mark || frame.parity == Parity::Space || frame.stopBits == 2) {
    const bool one = frame.parity != Parity::Space;
    const std::string note =
        frame.stopBits == 2 ? "tb8_note_two_stops" : "tb8_note_" + std::string(NinthBitName(frame));
    std::string set = SetTb8(facts, bits, one ? "1" : "0", 0);
    if (!control.empty()) {
      set = control + (one ? " |= 0x08;" : " &= ~0x08;");
    } else {
      set.resize(set.size() - 2);
    }
    fills["TB8_SET"] = set;
    fills["TB8_NOTE"] = InlinePiece(note, language);
    fills["INIT_AFTER"] = FillText(Piece("init_tb8", language), fills);
  }
  if (frame.stopBits == 2) {
    fills["STOP_NOTE"] = FillText(InlinePiece("stop_note_two_stops", language), fills);
    fills["FRAME_USAGE"] = FillText(Piece("frame_two_stops", language), fills);
    fills["FRAMING_TEXT"] = FillText(InlinePiece("framing_text_two_stops", language), fills);
    fills["FRAMING_ISR"] = FillText(Piece("framing_isr", language), fills);
    fills["FRAMING_POLLED"] = FillText(Piece("framing_polled", language), fills);
  }
  if (frame.dataBits == 9) {
    fills["WRITE"] = "write9";
    fills["WRITE_TYPE"] = "unsigned int";
    fills["READ"] = "read9";
    fills["FRAME_NINE_QUEUE"] =
        InlinePiece(polled ? "frame_nine_queue_polled" : "frame_nine_queue_interrupt", language);
    fills["FRAME_USAGE"] = FillText(Piece("frame_nine", language), fills);
    fills["DECL_NINTH"] = FillText(InlinePiece("decl_nine", language), fills);
    fills["RING_NINTH"] = FillText(Piece("ring_nine", language), fills);
    fills["NINE_WRAPPERS"] = FillText(Piece("nine_wrappers", language), fills);
    const std::string queueBit = "(" + DriverName(*request.target) + "_txNinth[(" + DriverName(*request.target) +
                                 "_txTail >> 3) & (" + fills["UU"] + "_TX_SIZE / 8 - 1)] & " +
                                 DriverName(*request.target) + "_bit[" + DriverName(*request.target) +
                                 "_txTail & 7]) != 0";
    fills["TB8_FROM_QUEUE"] = SetTb8(facts, bits, queueBit, 3);
    fills["ISR_SEND"] = fills["TB8_FROM_QUEUE"] + FillText(Piece("isr_send_plain", language), fills);
    fills["KICK_NINTH"] = SetTb8(facts, bits, queueBit, 2);
    fills["POLLED_SEND_NINTH"] = SetTb8(facts, bits, "(c & 0x100) != 0", 2);
    TextFills store = fills;
    store["IND"] = "\t\t";
    store["Q"] = "tx";
    store["QQ"] = "TX";
    fills["TX_STORE_NINTH"] = FillText(FillText(Piece("store_nine", language), store), store);
    store["IND"] = "\t\t\t";
    store["Q"] = "rx";
    store["QQ"] = "RX";
    std::string rxStore = FillText(Piece("store_nine", language), store);
    const std::string test = "if (c & 0x100)";
    rxStore.replace(rxStore.find(test), test.size(), "if (" + fills["RB8_BIT"] + ")");
    fills["RX_STORE_NINTH"] = FillText(rxStore, store);
    fills["RX_TAKE_NINTH"] = FillText(Piece("take_nine", language), fills);
    fills["POLLED_TAKE_NINTH"] = FillText(Piece("polled_take_nine", language), fills);
  }
}

// The machine cycles the caller of uartN_bit_wait has spent since the
// send-complete flag was set, as SDCC compiles the driver for the classic
// core: in the routine, the interrupt's call, the vector's LJMP, the saved
// registers and the tests before the call (measured in s51); in the polled
// flush, the JNB loop that sees TI and the statements up to the call.
constexpr std::uint32_t kIsrCyclesBeforeWait = 44;
constexpr std::uint32_t kPolledCyclesBeforeWait = 13;

// The loops of uartN_bit_wait: LCALL (2 cycles) and RET (2), and for each
// loop MOV Rn,#K (1) and K DJNZ (2 each); as many loops as make the total
// exact (the loops' count has the parity the total needs).
std::string BitWaitLoops(std::uint32_t total, Language language) {
  constexpr std::uint32_t kCallAndReturn = 4;
  constexpr std::uint32_t kLongestLoop = 1 + 2 * 255;
  if (total < kCallAndReturn + 3) {
    return {};
  }
  const std::uint32_t loopsCycles = total - kCallAndReturn;
  std::uint32_t loops = (loopsCycles + kLongestLoop - 1) / kLongestLoop;
  if ((loopsCycles - loops) % 2 != 0) {
    ++loops;
  }
  std::uint32_t counts = (loopsCycles - loops) / 2;  // the K of all loops together
  std::string text = Piece("bit_wait_decl", language);
  for (std::uint32_t i = 0; i < loops; ++i) {
    const std::uint32_t left = loops - i - 1;  // loops after this one, each at least K = 1
    const std::uint32_t k = std::min<std::uint32_t>(255, counts - left);
    counts -= k;
    text += FillText(Piece("bit_loop", language), {{"K", std::to_string(k)}});
  }
  return text;
}

// The RS-485 pin, the bit time and the waits that go with them.
void AddStopBitFills(const TargetCodeRequest& request, const DriverOptions& options, Language language,
                     TextFills& fills) {
  const bool polled = options.kind == DriverKind::Polled;
  const std::optional<BitTime> bit = BitTimeOf(request);
  for (const char* name :
       {"BIT_WAIT", "FLUSH_WAIT", "POLLED_STOP", "ISR_IDLE", "DIR_RAISE", "INIT_DIR", "DIR_USAGE", "POLLED_DIR_NOTE"}) {
    fills[name] = "";
  }
  const double microseconds = request.setting.achieved > 0 ? 1e6 / request.setting.achieved : 0.0;
  std::string us = std::to_string(std::llround(microseconds * 10));
  us.insert(us.size() - 1, ".");
  fills["BIT_US"] = us.front() == '.' ? "0" + us : us;
  const bool rs485 = options.rs485.has_value();
  if (rs485) {
    const Rs485Pin& pin = *options.rs485;
    fills["DIR_PIN"] = "P" + std::to_string(pin.port) + "." + std::to_string(pin.bit);
    fills["DIR_ON"] = pin.activeLow ? "0" : "1";
    fills["DIR_OFF"] = pin.activeLow ? "1" : "0";
    fills["DIR_ADDRESS"] = Hex2(static_cast<std::uint8_t>(0x80 + 0x10 * pin.port + pin.bit));
    fills["DIR_RAISE"] = FillText(Piece("dir_raise", language), fills);
    fills["INIT_DIR"] = FillText(Piece("init_dir", language), fills);
  }
  if (!bit) {
    // CheckRs485 refuses a pin here: the driver could not time its drop.
    fills["FLUSH_NOTE"] =
        FillText(InlinePiece(polled ? "polled_flush_note_untimed" : "flush_note_untimed", language), fills);
    fills["FLUSH_USAGE"] = FillText(InlinePiece("flush_usage_ti", language), fills);
    return;
  }
  fills["BIT_CYCLES"] = std::to_string(bit->cycles);
  fills["CORE_CLOCKS"] = std::to_string(bit->clocksPerCycle);
  fills["BAUD_TEXT"] = request.baudText;
  fills["FLUSH_USAGE"] = FillText(InlinePiece("flush_usage_exact", language), fills);
  if (rs485) {
    fills["DIR_USAGE_KIND"] = FillText(Piece(polled ? "dir_usage_polled" : "dir_usage_interrupt", language), fills);
    fills["DIR_USAGE"] = FillText(InlinePiece("dir_usage", language), fills);
    fills["POLLED_DIR_NOTE"] = FillText(InlinePiece("polled_dir_note", language), fills);
  }
  const std::uint32_t spent = polled ? kPolledCyclesBeforeWait : rs485 ? kIsrCyclesBeforeWait : 0;
  fills["BIT_WAIT_SPENT"] = std::to_string(spent);
  fills["BIT_WAIT_CYCLES"] = std::to_string(bit->cycles > spent ? bit->cycles - spent : 0);
  fills["BIT_LOOPS"] = BitWaitLoops(bit->cycles > spent ? bit->cycles - spent : 0, language);
  fills["BIT_WAIT"] = FillText(Piece("bit_wait", language), fills);
  if (polled) {
    fills["FLUSH_NOTE"] = FillText(InlinePiece("polled_flush_note_timed", language), fills);
    fills["POLLED_STOP"] =
        FillText(Piece("polled_stop", language) + (rs485 ? Piece("polled_stop_dir", language) : ""), fills);
  } else if (rs485) {
    fills["FLUSH_NOTE"] = FillText(InlinePiece("flush_note_rs485", language), fills);
    fills["ISR_IDLE"] = FillText(Piece("isr_idle", language), fills);
  } else {
    fills["FLUSH_NOTE"] = FillText(InlinePiece("flush_note_timed", language), fills);
    fills["FLUSH_WAIT"] = FillText(Piece("flush_wait", language), fills);
  }
}

// A CC253x USART's two interrupts (receive, send) and its flush, whose
// send flag comes as a byte starts rather than at its stop bit.
void AddCcUsartDriverFills(const BaudTarget& target, const DriverOptions& options, Language language,
                           TextFills& fills) {
  const SerialPortFacts facts = SerialPortFactsOf(target);
  const unsigned send = CcUsartSendVector(target);
  fills["RI"] = std::string(facts.ri);
  fills["TI"] = std::string(facts.ti);
  fills["RX_VECTOR"] = std::to_string(facts.vector);
  fills["RX_VECTOR_ADDRESS"] = Hex4(3 + 8 * facts.vector);
  fills["TX_VECTOR"] = std::to_string(send);
  fills["TX_VECTOR_ADDRESS"] = Hex4(3 + 8 * send);
  fills["VECTOR_TEXT"] = FillText(InlinePiece("vector_cc_usart", language), fills);
  fills["TX_ISR_DECL"] = FillText("void <U>_tx_isr(void) __interrupt(<TX_VECTOR>)<USING_SDCC>;\r\n", fills);
  // The send statements stand one block less deep than in the shared
  // routine's send part.
  std::string statements = fills["ISR_SEND"];
  for (std::size_t at = 0; at < statements.size();) {
    if (statements[at] == '\t') {
      statements.erase(at, 1);
    }
    const std::size_t end = statements.find('\n', at);
    at = end == std::string::npos ? statements.size() : end + 1;
  }
  fills["ISR_SEND"] = statements;
  const bool polled = options.kind == DriverKind::Polled;
  fills["FLUSH_NOTE"] =
      FillText(InlinePiece(polled ? "polled_flush_note_cc_usart" : "flush_note_cc_usart", language), fills);
  fills["FLUSH_USAGE"] = FillText(InlinePiece("flush_usage_cc_usart", language), fills);
}

// The EFM8BB3 UART1's registers answer on SFR page 0x20 alone: the
// routine and the functions that touch them note the caller's page, select
// 0x20 and restore the caller's page; the init function sets TBX itself.
// Every other port leaves the page fills empty.
void AddPageFills(const BaudTarget& target, Language language, TextFills& fills) {
  const std::string ri = fills["RI_TEST"];
  if (SerialPortOf(target) != SerialPort::Efm8Uart1) {
    for (const char* name : {"PAGE_DECL", "PAGE_IN", "PAGE_OUT", "ISR_PAGE_IN"}) {
      fills[name] = "";
    }
    fills["AVAILABLE"] = "\treturn " + ri + " ? 1 : 0;\r\n";
    return;
  }
  const std::string decl = "\tunsigned char page = SFRPAGE;\r\n";
  const std::string in = "\tSFRPAGE = 0x20;\r\n";
  const std::string out = "\tSFRPAGE = page;\r\n";
  fills["PAGE_DECL"] = decl;
  fills["PAGE_IN"] = in;
  fills["PAGE_OUT"] = out;
  fills["ISR_PAGE_IN"] = decl + in + Piece("page_note_efm8", language);
  fills["AVAILABLE"] =
      "\tunsigned char ready;\r\n" + decl + in + "\tready = " + ri + " ? 1 : 0;\r\n" + out + "\treturn ready;\r\n";
  fills["INIT_AFTER"] = "";
}

TextFills DriverFills(const TargetCodeRequest& request, const DriverOptions& options, Language language) {
  const BaudTarget& target = *request.target;
  const SerialPortFacts facts = SerialPortFactsOf(target);
  const bool byteFlags = !facts.control.empty();
  const std::string control(facts.control);
  const bool wordIndex = IndexType(options) != "unsigned char";
  const bool framing = !facts.rb8.empty() && !NeedsNinthBit(request);
  const std::string bank = options.registerBank ? std::to_string(*options.registerBank) : "";
  TextFills fills = {
      {"U", DriverName(target)},
      {"UU", target.uart.empty() ? "UART0" : target.uart},
      {"NAME", target.uart},
      {"TARGET", target.name},
      {"CHIPS", TargetChipsText(target, language)},
      {"INIT", target.function.empty() ? "SIO_Init" : target.function},
      {"RX_SIZE", std::to_string(options.rxSize)},
      {"TX_SIZE", std::to_string(options.txSize)},
      {"IDX", IndexType(options)},
      {"SPACE_SDCC", options.space == BufferSpace::Xdata ? "__xdata" : "__idata"},
      {"SPACE_KEIL", options.space == BufferSpace::Xdata ? "xdata" : "idata"},
      {"VECTOR", std::to_string(facts.vector)},
      {"VECTOR_ADDRESS", Hex4(3 + 8 * facts.vector)},
      {"VECTOR_TEXT", std::to_string(facts.vector)},
      {"TX_ISR_DECL", ""},
      {"USING_SDCC", bank.empty() ? "" : " __using(" + bank + ")"},
      {"USING_KEIL", bank.empty() ? "" : " using " + bank},
      {"SBUF", std::string(facts.buffer)},
      {"CTRL", control},
      {"RB8", std::string(facts.rb8)},
      {"RI_TEST", byteFlags ? "(" + control + " & 0x01)" : std::string(facts.ri)},
      {"RI_CLEAR", byteFlags ? control + " &= ~0x01" : std::string(facts.ri) + " = 0"},
      {"TI_TEST", byteFlags ? "(" + control + " & 0x02)" : std::string(facts.ti)},
      {"TI_CLEAR", byteFlags ? control + " &= ~0x02" : std::string(facts.ti) + " = 0"},
      {"RX_LOCK", wordIndex ? Piece("rx_lock_word", language) : ""},
      {"RX_UNLOCK", wordIndex ? Piece("rx_unlock_word", language) : ""},
      {"KIND_TEXT", InlinePiece(options.kind == DriverKind::Polled ? "title_polled" : "title_interrupt", language)},
  };
  // The fills are in GBK already; the Chinese flags text is written in UTF-8
  // in this file, so it is converted once here.
  const std::string flags = FlagsText(facts, language);
  fills["FLAGS"] = text::Utf8ToGbk(flags).value_or(flags);
  fills["INDEX_TEXT"] = FillText(Piece(wordIndex ? "index_text_word" : "index_text_byte", language), fills);
  fills["CLEAR_NOTE"] = byteFlags ? FillText(InlinePiece("clear_note_byte", language), fills) : "";
  fills["RB8_BIT"] = fills["RB8"];
  fills["STOP_NOTE"] = FillText(InlinePiece("stop_note_mode1", language), fills);
  fills["FRAMING_ISR"] = framing ? FillText(Piece("framing_isr", language), fills) : "";
  fills["FRAMING_POLLED"] = framing ? FillText(Piece("framing_polled", language), fills) : "";
  const std::string_view framingText = framing ? "framing_text_rb8" : "framing_text_none";
  fills["FRAMING_TEXT"] = FillText(InlinePiece(framingText, language), fills);
  fills["RB8_BIT"] = fills["RB8"];
  fills["LINE_ENDS"] = InlinePiece(options.crlf ? "line_ends_crlf" : "line_ends_raw", language);
  fills["CRLF"] = options.crlf ? FillText(Piece("crlf", language), fills) : "";
  AddNinthBitFills(request, options, language, fills);
  AddStopBitFills(request, options, language, fills);
  if (target.generator == GeneratorKind::CcUsart) {
    AddCcUsartDriverFills(target, options, language, fills);
  }
  AddPageFills(target, language, fills);
  return fills;
}

// The registers the init functions and the drivers use that <8051.h> and
// reg51.h lack, each once, and the declarations of the ports' flag bits.
std::string DeclarationBlock(std::span<const TargetCodeRequest> requests, Language language) {
  std::vector<const BaudTarget*> targets(requests.size());
  std::transform(requests.begin(), requests.end(), targets.begin(),
                 [](const TargetCodeRequest& request) { return request.target; });
  std::vector<ExtraRegister> registers = ExtraRegisters(targets);
  std::vector<FlagBit> bits;
  for (const BaudTarget* target : targets) {
    const SerialPortFacts facts = SerialPortFactsOf(*target);
    const bool declared = std::any_of(registers.begin(), registers.end(),
                                      [&](const ExtraRegister& reg) { return reg.name == facts.buffer; });
    if (!facts.bufferRegister.name.empty() && !declared) {
      registers.push_back(facts.bufferRegister);
    }
    bits.insert(bits.end(), facts.bits.begin(), facts.bits.end());
  }
  for (const TargetCodeRequest& request : requests) {
    if (NeedsNinthBit(request)) {
      const SerialPort port = SerialPortOf(*request.target);
      const NinthBits ninth = NinthBitsOf(port, SerialPortFactsOf(*request.target));
      for (const FlagBit& bit : ninth.declare) {
        if (std::none_of(bits.begin(), bits.end(), [&](const FlagBit& known) { return known.name == bit.name; })) {
          // cppcheck-suppress useStlAlgorithm ; copy_if would read the vector it appends to
          bits.push_back(bit);
        }
      }
    }
  }
  if (registers.empty() && bits.empty()) {
    return {};
  }
  std::string text = "\r\n" + Piece("registers", language);
  if (std::any_of(registers.begin(), registers.end(), [](const ExtraRegister& reg) { return reg.in8052Headers; })) {
    text += TargetCodeFragment("sfr8052", language);
  }
  text += RegisterDeclarations(registers);
  if (!bits.empty()) {
    text += "#ifdef __SDCC\r\n";
    for (const FlagBit& bit : bits) {
      text.append("__sbit __at (").append(Hex2(bit.address)).append(") ").append(bit.name).append(";\r\n");
    }
    text += "#else\r\n";
    for (const FlagBit& bit : bits) {
      text.append("sbit ").append(bit.name).append(" = ").append(Hex2(bit.address)).append(";\r\n");
    }
    text += "#endif\r\n";
  }
  return text;
}

std::string FileHeader(const DriverOptions& options, std::string_view what, Language language) {
  const std::string_view title = options.kind == DriverKind::Polled ? "title_polled" : "title_interrupt";
  return FillText(Piece("file_header", language),
                  {{"FILE_TITLE", InlinePiece(title, language)}, {"FILE_TEXT", InlinePiece(what, language)}});
}

// The declarations and usage of one UART's driver, inside its include guard.
std::string HeaderBody(const TextFills& fills, const DriverOptions& options, bool hooks, Language language) {
  const bool polled = options.kind == DriverKind::Polled;
  std::string text = Piece("h_begin", language) + Piece(polled ? "h_usage_polled" : "h_usage_interrupt", language);
  if (hooks) {
    text += Piece("h_hooks", language) + Piece("h_memory", language);
  }
  text += Piece(polled ? "h_declarations_polled" : "h_declarations_interrupt", language) + Piece("h_end", language);
  return FillText(text, fills);
}

TargetCodeRequest InitRequest(const TargetCodeRequest& request, const DriverOptions& options) {
  TargetCodeRequest init = request;
  init.enableInterrupt = options.kind == DriverKind::Interrupt;
  if (NeedsNinthBit(request)) {
    init.uartMode = UartMode::Mode3;
  }
  return init;
}

// The init function, then the driver's variables and functions.
std::string SourceBody(const TargetCodeRequest& request, const TextFills& fills, const DriverOptions& options,
                       bool hooks, Language language) {
  const std::string text = "\r\n" + GenerateTargetInitFunction(InitRequest(request, options), language) + "\r\n";
  const std::string_view isr = request.target->generator == GeneratorKind::CcUsart ? "isr_cc_usart" : "isr";
  std::string driver = options.kind == DriverKind::Polled
                           ? Piece("functions_polled", language)
                           : Piece("ring", language) + Piece(isr, language) + Piece("functions_interrupt", language);
  if (hooks) {
    driver += Piece("hooks", language);
  }
  if (options.rs485) {
    driver = Piece("dir_pin", language) + driver;
  }
  return text + FillText(driver, fills);
}

std::vector<TargetCodeRequest> WithTargets(std::span<const TargetCodeRequest> requests) {
  std::vector<TargetCodeRequest> kept;
  std::copy_if(requests.begin(), requests.end(), std::back_inserter(kept),
               [](const TargetCodeRequest& request) { return request.target != nullptr; });
  return kept;
}

std::string Includes(bool hooks, Language language) {
  return Piece("includes", language) + (hooks ? Piece("include_stdio", language) : "");
}

// The memory statement of the first UART's header: what the drivers and
// printf take of internal RAM and XRAM, and how to check it in a build.
void AddMemoryFills(TextFills& fills, const DriverOptions& options, std::size_t uartCount, const SerialFrame& frame,
                    Language language) {
  const DriverRamUse use = DriverRamUseOf(options, uartCount, frame);
  fills["RAM_IRAM"] = std::to_string(options.memory.iramBytes);
  fills["RAM_CHIP"] = options.chip;
  fills["RAM_REGISTERS"] = std::to_string(use.registers);
  fills["RAM_VARIABLES"] = std::to_string(use.variables);
  fills["RAM_IDATA"] = std::to_string(use.idataBuffers);
  fills["RAM_PRINTF"] = std::to_string(use.printfData);
  fills["RAM_STACK"] = std::to_string(use.stack);
  fills["RAM_LEFT"] = std::to_string(use.left);
  fills["RAM_XDATA"] = std::to_string(use.xdataBuffers);
  fills["RAM_XRAM"] = std::to_string(options.memory.xramBytes);
  const std::string_view enable = options.memory.xramEnable == XramEnable::AuxrExtram ? "h_memory_xram_auxr"
                                  : options.memory.xramEnable == XramEnable::PmrDme0  ? "h_memory_xram_pmr"
                                                                                      : "h_memory_xram_always";
  fills["RAM_XDATA_TEXT"] =
      use.xdataBuffers == 0 ? "" : FillText(Piece("h_memory_xdata", language) + Piece(enable, language), fills);
}

// What would make a driver fit that overruns internal RAM, in the language:
// smaller buffers (unless they are the smallest already), xdata buffers on a
// chip with XRAM, no register bank of its own, and always the polled
// driver, which has no buffers and no interrupt.
std::string RamOverflowAdvice(const DriverOptions& options, const DriverRamUse& use, std::size_t uartCount,
                              Language language) {
  constexpr std::uint32_t kSmallestBuffers = 8 + 8;
  std::vector<TextKey> advice;
  if (use.idataBuffers > kSmallestBuffers * uartCount) {
    advice.push_back(TextKey::DriverRamOverflowSmaller);
  }
  if (options.memory.xramBytes > 0 && use.idataBuffers > 0) {
    advice.push_back(TextKey::DriverRamOverflowXdata);
  }
  if (options.registerBank && options.kind != DriverKind::Polled) {
    advice.push_back(TextKey::DriverRamOverflowBank);
  }
  advice.push_back(TextKey::DriverRamOverflowPolled);
  std::string text;
  for (std::size_t i = 0; i < advice.size(); ++i) {
    if (i > 0) {
      text += Text(language, i + 1 == advice.size() ? TextKey::DriverRamOverflowOr : TextKey::PlanListSeparator);
    }
    text += Text(language, advice[i]);
  }
  return text;
}

// The chip's memory against the options CheckDriverOptions has found valid.
std::optional<std::string> CheckChipMemory(const DriverOptions& options, std::size_t uartCount,
                                           const SerialFrame& frame, Language language) {
  const ChipMemory& memory = options.memory;
  const DriverRamUse use = DriverRamUseOf(options, uartCount, frame);
  if (use.xdataBuffers > 0 && memory.xramBytes == 0) {
    return FormatText(language, TextKey::DriverNoXram, {{"target", options.chip}});
  }
  if (use.xdataBuffers > memory.xramBytes) {
    return FormatText(language, TextKey::DriverXramTooSmall,
                      {{"total", std::to_string(use.xdataBuffers)},
                       {"xram", std::to_string(memory.xramBytes)},
                       {"target", options.chip}});
  }
  if (use.left < 0) {
    return FormatText(language, TextKey::DriverRamOverflow,
                      {{"target", options.chip},
                       {"iram", std::to_string(memory.iramBytes)},
                       {"need", std::to_string(use.need)},
                       {"registers", std::to_string(use.registers)},
                       {"variables", std::to_string(use.variables)},
                       {"buffers", std::to_string(use.idataBuffers)},
                       {"printf", std::to_string(use.printfData)},
                       {"stack", std::to_string(use.stack)},
                       {"advice", RamOverflowAdvice(options, use, uartCount, language)}});
  }
  return std::nullopt;
}

}  // namespace

SerialFrame DriverFrame(const TargetCodeRequest& request) {
  if (FrameUartModeOf(request.frame) == FrameUartMode::Mode1 && request.uartMode == UartMode::Mode3) {
    return SerialFrame{.dataBits = 9, .parity = Parity::None, .stopBits = 1};
  }
  return request.frame;
}

SerialFrame DriversFrame(std::span<const TargetCodeRequest> requests) {
  return requests.empty() ? SerialFrame{} : DriverFrame(requests.front());
}

DriverRamUse DriverRamUseOf(const DriverOptions& options, std::size_t uartCount, const SerialFrame& frame) {
  const auto uarts = static_cast<std::uint32_t>(uartCount);
  const bool polled = options.kind == DriverKind::Polled;
  const bool parity = FrameUartModeOf(frame) == FrameUartMode::Mode3 && frame.parity != Parity::None;
  const bool nine = FrameUartModeOf(frame) == FrameUartMode::Mode3 && frame.dataBits == 9;
  DriverRamUse use;
  // The register bank is the interrupt's: a polled driver has none, and
  // its code runs in bank 0.
  use.registers = 8 * ((polled ? 0 : options.registerBank.value_or(0)) + 1);
  // Interrupt-driven: four indexes (one byte each, two for buffers over 128
  // bytes), the busy flag and two counts; polled: the busy flag and a count;
  // with a parity bit one count more.
  const std::uint32_t indexBytes = IndexType(options) == "unsigned char" ? 1 : 2;
  const std::uint32_t perUart = (polled ? 2 : 4 * indexBytes + 3) + (parity ? 1 : 0) +
                                (nine ? kNinthDataLocalBytes : 0) + (options.rs485 ? kRs485GapBytes : 0);
  use.variables = uarts * perUart;
  // 9N1's ninth bits, one bit a byte of each buffer, sit beside the buffers.
  const std::uint32_t ninth = nine ? (options.rxSize + options.txSize) / 8 : 0;
  const std::uint32_t buffers = polled ? 0 : uarts * (options.rxSize + options.txSize + ninth);
  (options.space == BufferSpace::Xdata ? use.xdataBuffers : use.idataBuffers) = buffers;
  use.printfData = kPrintfDataBytes;
  use.stack = kPrintfStackBytes + (polled ? 0 : DriverIsrStackBytes(options, frame));
  use.need = use.registers + use.variables + use.idataBuffers + use.printfData + use.stack;
  use.left = static_cast<std::int32_t>(options.memory.iramBytes) - static_cast<std::int32_t>(use.need);
  return use;
}

std::uint32_t DriverIsrStackBytes(const DriverOptions& options, const SerialFrame& frame) {
  const bool xdata = options.space == BufferSpace::Xdata;
  const bool words = IndexType(options) != "unsigned char";
  std::uint32_t bytes = 0;
  if (options.rs485) {
    // The call of the wait saves every register, in any register bank.
    bytes = kRs485IsrStackBytes + (words ? 1 : 0);
  } else if (options.registerBank) {
    bytes = xdata ? 6 : 4;
  } else {
    bytes = words ? 8 : 7;
  }
  if (FrameUartModeOf(frame) == FrameUartMode::Mode3 && frame.dataBits == 9) {
    bytes += kNinthIsrStackBytes;
  }
  return bytes;
}

std::uint32_t DefaultBufferSize(const ChipMemory& memory) { return memory.iramBytes <= 128 ? 8 : 16; }

std::vector<std::string> DriverWarnings(const DriverOptions& options, std::size_t uartCount, const SerialFrame& frame,
                                        Language language) {
  std::vector<std::string> warnings;
  const DriverRamUse use = DriverRamUseOf(options, uartCount, frame);
  if (use.left >= 0 && use.left < kTightRamBytes) {
    warnings.push_back(FormatText(language, TextKey::DriverRamTight,
                                  {{"left", std::to_string(use.left)},
                                   {"iram", std::to_string(options.memory.iramBytes)},
                                   {"target", options.chip}}));
  }
  if (use.xdataBuffers > 0 && options.memory.xramEnable == XramEnable::PmrDme0) {
    warnings.push_back(FormatText(language, TextKey::DriverXramOff, {{"target", options.chip}}));
  }
  return warnings;
}

std::optional<Rs485Pin> ReadRs485Pin(std::string_view text) {
  Rs485Pin pin;
  if (text.starts_with('!')) {
    pin.activeLow = true;
    text.remove_prefix(1);
  }
  if (text.size() != 4 || (text[0] != 'P' && text[0] != 'p') || text[2] != '.' || text[1] < '0' || text[1] > '3' ||
      text[3] < '0' || text[3] > '7') {
    return std::nullopt;
  }
  pin.port = static_cast<std::uint32_t>(text[1] - '0');
  pin.bit = static_cast<std::uint32_t>(text[3] - '0');
  return pin;
}

std::optional<BitTime> BitTimeOf(const TargetCodeRequest& request) {
  if (request.target == nullptr) {
    return std::nullopt;
  }
  // The cores that run the classic instruction timing (MOV Rn,#K one
  // machine cycle, DJNZ, LCALL and RET two), by the clocks of a cycle.
  static const std::map<std::string, std::uint32_t, std::less<>> kClassicCores = {
      {"t1-12t", 12}, {"t2-12t", 12}, {"t1-6t", 6}, {"t2-6t", 6}};
  const auto core = kClassicCores.find(request.target->name);
  if (core == kClassicCores.end() || request.setting.divisor == 0) {
    return std::nullopt;
  }
  // One bit takes D x divisor / 2^SMOD clocks (the rate's formula upside down).
  const std::uint64_t clocks = static_cast<std::uint64_t>(request.setting.divider) * request.setting.divisor;
  const std::uint64_t perCycle = static_cast<std::uint64_t>(core->second) << request.setting.smod;
  return BitTime{static_cast<std::uint32_t>((clocks + perCycle / 2) / perCycle), core->second};
}

std::optional<std::string> CheckRs485(const TargetCodeRequest& request, const DriverOptions& options,
                                      Language language) {
  if (!options.rs485 || request.target == nullptr || BitTimeOf(request)) {
    return std::nullopt;
  }
  return FormatText(language, TextKey::DriverRs485Untimed, {{"target", request.target->name}});
}

std::string DriverName(const BaudTarget& target) { return LowerCase(target.uart.empty() ? "UART0" : target.uart); }

std::vector<std::uint32_t> ValidBufferSizes(BufferSpace space) {
  std::vector<std::uint32_t> sizes;
  const std::uint32_t largest = space == BufferSpace::Idata ? 128 : 1024;
  for (std::uint32_t size = 8; size <= largest; size *= 2) {
    sizes.push_back(size);
  }
  return sizes;
}

std::optional<std::string> CheckDriverOptions(const DriverOptions& options, std::size_t uartCount,
                                              const SerialFrame& frame, Language language) {
  const std::vector<std::uint32_t> sizes = ValidBufferSizes(options.space);
  std::string valid;
  for (const std::uint32_t size : sizes) {
    valid += (valid.empty() ? "" : ", ") + std::to_string(size);
  }
  const std::string space = options.space == BufferSpace::Idata ? "idata" : "xdata";
  for (const auto& [name, size] : {std::pair{"--rx-size", options.rxSize}, std::pair{"--tx-size", options.txSize}}) {
    if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
      return FormatText(language, TextKey::DriverBadBufferSize,
                        {{"option", name}, {"size", std::to_string(size)}, {"space", space}, {"sizes", valid}});
    }
  }
  if (options.registerBank && *options.registerBank > 3) {
    return FormatText(language, TextKey::DriverBadRegisterBank, {{"bank", std::to_string(*options.registerBank)}});
  }
  return CheckChipMemory(options, uartCount, frame, language);
}

std::vector<DriverFiles> GenerateDriverFiles(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                                             Language language) {
  std::vector<DriverFiles> files;
  const std::vector<TargetCodeRequest> kept = WithTargets(requests);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const TargetCodeRequest& request = kept[i];
    const bool hooks = i == 0;
    DriverFiles file;
    file.name = DriverName(*request.target);
    TextFills fills = DriverFills(request, options, language);
    AddMemoryFills(fills, options, kept.size(), DriversFrame(kept), language);
    file.header = FileHeader(options, "text_header", language) + HeaderBody(fills, options, hooks, language);
    file.source = FileHeader(options, "text_source", language) + Includes(hooks, language) +
                  FillText(Piece("include_header", language), {{"U", file.name}}) +
                  DeclarationBlock(std::span<const TargetCodeRequest>(&request, 1), language) +
                  SourceBody(request, fills, options, hooks, language);
    files.push_back(std::move(file));
  }
  return files;
}

std::string GenerateDriverText(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                               Language language) {
  const std::vector<TargetCodeRequest> kept = WithTargets(requests);
  if (kept.empty()) {
    return {};
  }
  std::string text =
      FileHeader(options, "text_single", language) + Includes(true, language) + DeclarationBlock(kept, language);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    TextFills fills = DriverFills(kept[i], options, language);
    AddMemoryFills(fills, options, kept.size(), DriversFrame(kept), language);
    text +=
        "\r\n" + HeaderBody(fills, options, i == 0, language) + SourceBody(kept[i], fills, options, i == 0, language);
  }
  return text;
}

}  // namespace tesmirol
