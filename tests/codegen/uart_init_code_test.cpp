// The init functions of the catalogue's UARTs: each generator's and serial
// port's register writes for a setting worked out by hand from the data
// sheets' formulas, and every target at every clock choice giving a whole
// function whose declarations and statements go together.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/target_init_code.h"
#include "codegen/target_registers.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "text/encoding.h"

#include "support/code_text_checks.h"

namespace tesmirol {
namespace {

using testing_support::HoldsPlaceholder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) {
      break;
    }
    start = end + 2;
  }
  return lines;
}

bool HasLineStartingWith(const std::vector<std::string>& lines, std::string_view start) {
  return std::any_of(lines.begin(), lines.end(), [start](const std::string& line) { return line.starts_with(start); });
}

struct Request {
  const BaudTarget* target = nullptr;
  TargetSetting setting;
};

// The catalogue target with the setting of that clock choice, doubling bit
// and divisor (2^bits - reload) at the crystal.
Request Make(std::string_view name, std::string_view crystal, std::int32_t baud, std::uint32_t clockIndex,
             std::uint32_t smod, std::uint64_t divisor) {
  Request request;
  request.target = FindBaudTarget(name);
  const std::optional<ExactFrequency> frequency = ReadExactCrystal(crystal);
  if (request.target != nullptr && frequency) {
    request.setting = MakeTargetSetting(*request.target, *frequency, clockIndex, smod, divisor, baud);
  }
  return request;
}

std::string Generate(const Request& request, UartMode mode) {
  return GenerateTargetInitCode(TargetCodeRequest{request.target, request.setting, "11.0592MHZ", "9600", mode});
}

struct UartCase {
  const char* name;
  Request request;
  UartMode mode;
  std::vector<std::string_view> lines;   // the text holds lines that start so
  std::vector<std::string_view> texts;   // and these anywhere
  std::vector<std::string_view> absent;  // texts it must not hold anywhere
};

// Reloads worked out from each data sheet's formula: 65536 - f / (4 x P x
// baud) for STC Timers 2 to 4, 256 - 2^SMOD x f / (32 x P x baud) for the
// 8-bit generators with a doubling bit, 65536 - 2^SMOD x Fsys / (32 x 2^T3PS
// x baud) (UART0) or Fsys / (16 x 2^T3PS x baud) (UART1) for the Nuvoton
// Timer 3, 256 - SYSCLK / (P x 2 x baud) for the Silicon Labs Timer 1.
const std::vector<UartCase>& UartCases() {
  static const std::vector<UartCase> cases = {
      {"Stc8Uart2Timer2TwelveClock",
       Make("stc-u2-t2", "11.0592MHz", 9600, 1, 0, 24),
       UartMode::Mode1,
       {"void SIO2_Init(void)", "\tIE2 &= 0xFE;", "\tS2CON = 0x00;", "\tAUXR &= 0xE3;", "\tT2L = 0xE8;",
        "\tT2H = 0xFF;", "\tAUXR |= 0x10;", "\tS2CON |= 0x10;", "\tIE2 |= 0x01;", "__sfr __at (0x9A) S2CON;",
        "sfr IE2 = 0xAF;"},
       {},
       {"AUXR |= 0x01", "AUXR |= 0x05", "SCON =", "ES = 0", "REN = 1", "PCON", "SIO_Init("}},
      {"Stc8Uart3Timer3OneClockNineBits",
       Make("stc-u3-t3", "22.1184MHz", 115200, 0, 0, 48),
       UartMode::Mode3,
       {"void SIO3_Init(void)", "\tIE2 &= 0xF7;", "\tS3CON = 0xC0;", "\tT4T3M = (T4T3M & 0xF1) | 0x02;",
        "\tT3L = 0xD0;", "\tT3H = 0xFF;", "\tT4T3M |= 0x08;", "\tS3CON |= 0x10;", "\tIE2 |= 0x08;"},
       {"S3TB8"},
       {"AUXR", "T2H", "T4T3M |= 0x80", "SCON ="}},
      {"Stc8Uart3Timer2OneClock",
       Make("stc-u3-t2", "11.0592MHz", 115200, 0, 0, 24),
       UartMode::Mode1,
       {"\tS3CON = 0x00;", "\tAUXR = (AUXR & 0xE3) | 0x04;", "\tT2L = 0xE8;", "\tT2H = 0xFF;"},
       {},
       {"T4T3M", "AUXR |= 0x05", "AUXR |= 0x01"}},
      {"Stc8Uart4Timer4TwelveClock",
       Make("stc-u4-t4", "11.0592MHz", 9600, 1, 0, 24),
       UartMode::Mode1,
       {"void SIO4_Init(void)", "\tIE2 &= 0xEF;", "\tS4CON = 0x40;", "\tT4T3M &= 0x1F;", "\tT4L = 0xE8;",
        "\tT4H = 0xFF;", "\tT4T3M |= 0x80;", "\tS4CON |= 0x10;", "\tIE2 |= 0x10;"},
       {},
       {"T3H", "AUXR", "T4T3M |= 0x08"}},
      {"Stc12Uart2DoubledTwelveClock",
       Make("stc12-u2-brt", "11.0592MHz", 19200, 1, 1, 3),
       UartMode::Mode1,
       {"void SIO2_Init(void)", "\tS2CON = 0x40;", "\tAUXR = (AUXR & 0xE3) | 0x08;", "\tBRT = 0xFD;", "\tAUXR |= 0x10;",
        "\tIE2 |= 0x01;", "// \xB9\xAB\xCA\xBD: \xB2\xA8\xCC\xD8\xC2\xCA = 2^S2SMOD x f / (384 x (256 - BRT))"},
       {},
       {"PCON", "AUXR |= 0x01", "AUXR |= 0x05"}},
      {"N76Uart0Timer3PrescaledDoubled",
       Make("n76-t3-uart0", "16MHz", 9600, 2, 1, 26),
       UartMode::Mode1,
       {"void SIO_Init(void)", "\tpage = SFRS & 0x01;", "\tTA = 0xAA;", "\tTA = 0x55;", "\tSFRS &= 0xFE;",
        "\tT3CON = (T3CON & 0xF0) | 0x22;", "\tRL3 = 0xE6;", "\tRH3 = 0xFF;", "\tT3CON |= 0x08;", "\tPCON |= 0x80;",
        "\t\tSFRS |= 0x01;", "\tSCON = 0x40;"},
       {},
       {"TMOD", "TR1", "EIE1", "CKCON"}},
      {"N76Uart1Timer3NineBits",
       Make("n76-t3-uart1", "24MHz", 115200, 0, 0, 13),
       UartMode::Mode3,
       {"void SIO1_Init(void)", "\tEIE1 &= 0xFE;", "\tSCON_1 = 0xC0;", "\tT3CON &= 0xF0;", "\tRL3 = 0xF3;",
        "\tRH3 = 0xFF;", "\tSCON_1 |= 0x10;", "\tEIE1 |= 0x01;"},
       {"TB8_1"},
       {"PCON", "ES = 0", "REN = 1", "| 0x2"}},
      {"Ch552Timer1AtFsys",
       Make("ch55x-t1", "24MHz", 115200, 0, 1, 13),
       UartMode::Mode1,
       {"\tT2MOD |= 0xA0;", "\tTH1 = 0xF3;", "\tPCON |= 0x80;", "__sfr __at (0xC9) T2MOD;"},
       {},
       {"0x7F) | 0x20", "T2MOD &="}},
      {"Ch552Timer1AtFsysBy4",
       Make("ch55x-t1", "24MHz", 9600, 1, 1, 39),
       UartMode::Mode1,
       {"\tT2MOD = (T2MOD & 0x7F) | 0x20;", "\tTH1 = 0xD9;"},
       {},
       {"T2MOD |=", "T2MOD &="}},
      {"Ch552Timer1AtFsysBy12LeavesTmrClk",
       Make("ch55x-t1", "24MHz", 4800, 2, 1, 26),
       UartMode::Mode1,
       {"\tT2MOD &= 0xDF;", "\tTH1 = 0xE6;"},
       {},
       {"T2MOD |=", "0x7F"}},
      {"Ch552Uart1DoubledNineBits",
       Make("ch55x-uart1", "24MHz", 115200, 0, 1, 13),
       UartMode::Mode3,
       {"void SIO1_Init(void)", "\tIE_EX &= 0xEF;", "\tSCON1 = 0xA0;", "\tSBAUD1 = 0xF3;", "\tSCON1 |= 0x10;",
        "\tIE_EX |= 0x10;"},
       {"U1TB8", "2^U1SMOD"},
       {"PCON", "SCON =", "ES = 0", "TMOD"}},
      {"SilabsTimer1AtSysclk",
       Make("silabs-t1", "24.5MHz", 115200, 0, 0, 106),
       UartMode::Mode1,
       {"void SIO_Init(void)", "\tIE &= 0xEF;", "\tSCON0 = 0x00;", "\tCKCON |= 0x08;", "\tTMOD |= 0x20;",
        "\tTH1 = 0x96;", "\tTR1 = 1;", "\tSCON0 |= 0x10;", "\tIE |= 0x10;", "sfr SCON0 = 0x98;"},
       {"XBR0"},
       {"PCON", "SCON =", "ES = 0", "REN = 1", "CKCON &=", "CKCON = ("}},
      {"SilabsTimer1AtSysclkBy48NineBits",
       Make("silabs-t1", "24.5MHz", 9600, 3, 0, 27),
       UartMode::Mode3,
       {"\tSCON0 = 0x80;", "\tCKCON = (CKCON & 0xF4) | 0x02;", "\tTH1 = 0xE5;"},
       {"TB80"},
       {"CKCON |="}},
      {"DallasTimer1TwelveClock",
       Make("ds-t1", "11.0592MHz", 9600, 1, 0, 3),
       UartMode::Mode1,
       {"\tCKCON &= 0xEF;", "\tTH1 = 0xFD;", "\tPCON &= 0x7F;"},
       {"WD1 WD0 T2M T1M T0M"},
       {"CKCON |=", "PWMCKS"}},
      {"DallasTimer1FourClock",
       Make("ds-t1", "11.0592MHz", 9600, 0, 0, 9),
       UartMode::Mode1,
       {"\tCKCON |= 0x10;", "\tTH1 = 0xF7;"},
       {},
       {"CKCON &="}},
  };
  return cases;
}

TEST(UartInitCode, EachPortAndGeneratorWritesItsRegisters) {
  for (const UartCase& c : UartCases()) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.request.target, nullptr);
    const std::string code = Generate(c.request, c.mode);
    const std::vector<std::string> lines = Lines(code);
    for (const std::string_view start : c.lines) {
      EXPECT_TRUE(HasLineStartingWith(lines, start)) << start;
    }
    for (const std::string_view text : c.texts) {
      EXPECT_NE(code.find(text), std::string::npos) << text;
    }
    for (const std::string_view text : c.absent) {
      EXPECT_EQ(code.find(text), std::string::npos) << text;
    }
  }
}

// The timed-access writes open a window of a few clocks for the very next
// write: nothing may come between TA = 0x55 and the write to SFRS.
TEST(UartInitCode, NuvotonPageSwitchWritesSfrsRightAfterTimedAccess) {
  for (const char* name : {"n76-t3-uart0", "n76-t3-uart1"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> lines = Lines(Generate(Make(name, "24MHz", 9600, 0, 0, 156), UartMode::Mode1));
    std::size_t switches = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
      if (lines[i].ends_with("TA = 0x55;")) {
        ++switches;
        const std::string& next = lines[i + 1];
        EXPECT_TRUE(next.starts_with("\tSFRS ") || next.starts_with("\t\tSFRS ")) << next;
        EXPECT_TRUE(lines[i - 1].ends_with("TA = 0xAA;"));
        EXPECT_TRUE(lines[i - 2].ends_with("EA = 0;"));
      }
    }
    EXPECT_EQ(switches, 2U);  // to page 0, and back
  }
}

// The code part of a line: what comes before a "//" comment.
std::string_view CodeOf(std::string_view line) { return line.substr(0, line.find("//")); }

bool HoldsWord(std::string_view text, std::string_view word) {
  const auto isNamePart = [](char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
  };
  for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const bool startsWord = at == 0 || !isNamePart(text[at - 1]);
    const bool endsWord = at + word.size() == text.size() || !isNamePart(text[at + word.size()]);
    if (startsWord && endsWord) {
      return true;
    }
  }
  return false;
}

// Every target of the catalogue at every clock choice, in both UART modes:
// a whole function under the catalogue's name, every register it declares
// used by a statement, the reload in every reload register, GBK with CR LF
// line ends and no placeholder left.
TEST(UartInitCode, EveryCatalogueTargetAndClockGivesAWholeFunction) {
  const std::optional<ExactFrequency> frequency = ReadExactCrystal("11.0592MHz");
  ASSERT_TRUE(frequency.has_value());
  for (const BaudTarget& target : BaudTargets()) {
    for (std::uint32_t clock = 0; clock < target.clocks.size(); ++clock) {
      for (const UartMode mode : {UartMode::Mode1, UartMode::Mode3}) {
        SCOPED_TRACE(target.name + " clock " + std::to_string(clock) + (mode == UartMode::Mode3 ? " mode 3" : ""));
        const bool cc = target.generator == GeneratorKind::CcUsart;
        const TargetSetting setting = MakeTargetSetting(target, *frequency, clock, 0, cc ? 259 : 3, 9600);
        TargetCodeRequest request{&target, setting, "11.0592MHZ", "9600", mode};
        if (cc && mode == UartMode::Mode3) {
          request.frame = SerialFrame{8, Parity::None, 2};  // the CC253x USART's mode-3 frame
        }
        const std::string code = GenerateTargetInitCode(request);
        const std::vector<std::string> lines = Lines(code);
        const auto function = std::find(lines.begin(), lines.end(), "void " + target.function + "(void)");
        ASSERT_NE(function, lines.end());
        std::string statements;
        for (auto line = function; line != lines.end(); ++line) {
          statements.append(CodeOf(*line)).append("\n");
        }
        for (const ExtraRegister& reg : ExtraRegisters(target)) {
          EXPECT_TRUE(HoldsWord(statements, reg.name)) << reg.name << " declared but not written";
        }
        for (const std::string& reg : target.reloadRegisters) {
          EXPECT_NE(statements.find("\t" + reg + " = 0x"), std::string::npos) << reg;
        }
        EXPECT_TRUE(code.ends_with("}\r\n"));
        EXPECT_FALSE(HoldsPlaceholder(code));
        EXPECT_EQ(std::count(code.begin(), code.end(), '\n'), std::count(code.begin(), code.end(), '\r'));
        EXPECT_TRUE(text::GbkToUtf8(code).has_value());
      }
    }
  }
}

}  // namespace
}  // namespace tesmirol
