#include "codegen/target_init_code.h"
#include "engine/target_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"
#include "engine/serial_frame.h"
#include "text/encoding.h"

#include "support/code_text_checks.h"

namespace tesmirol {
namespace {

using testing_support::HoldsPlaceholder;

BaudTarget Target(GeneratorKind generator, ClockSelect clock, bool fast, std::uint32_t clocks, std::uint32_t divider,
                  std::uint32_t bits, bool smodDoubles) {
  BaudTarget target;
  target.name = "test-target";
  target.chips = "STC15W4K32S4";
  target.generator = generator;
  target.clockSelect = clock;
  target.clockFast = fast;
  target.clocksPerCycle = clocks;
  target.divider = divider;
  target.reloadBits = bits;
  target.smodDoubles = smodDoubles;
  return target;
}

TargetSetting Setting(std::uint32_t smod, std::uint32_t reload, std::uint64_t numerator, std::uint64_t denominator) {
  TargetSetting setting;
  setting.smod = smod;
  setting.reload = reload;
  setting.reloadHigh = static_cast<std::uint8_t>(reload >> 8U);
  setting.reloadLow = static_cast<std::uint8_t>(reload & 0xFFU);
  setting.achievedNumerator = numerator;
  setting.achievedDenominator = denominator;
  return setting;
}

BaudTarget AducTarget() {
  const BaudTarget* target = FindBaudTarget("aduc84x-t3");
  return target != nullptr ? *target : BaudTarget{};
}

TargetSetting AducSetting(std::uint32_t clockIndex, std::uint32_t t3fd, std::uint64_t numerator,
                          std::uint64_t denominator) {
  TargetSetting setting = Setting(0, t3fd, numerator, denominator);
  setting.clockIndex = clockIndex;
  setting.clocksPerCycle = 1U << clockIndex;
  setting.divider = 1U << clockIndex;
  return setting;
}

struct RegisterCase {
  const char* name;
  BaudTarget target;
  TargetSetting setting;
  UartMode mode;
  std::vector<std::string_view> present;  // whole lines the text must hold
  std::vector<std::string_view> absent;   // texts it must not hold anywhere
};

// Each generator's register writes, its clock bit and its declarations, for
// settings worked out by hand from the data sheets' formulas.
const std::vector<RegisterCase>& RegisterCases() {
  static const std::vector<RegisterCase> cases = {
      {"Classic8051Timer1At11MHz9600",
       Target(GeneratorKind::Timer1Mode2, ClockSelect::Fixed, false, 12, 384, 8, true),
       Setting(0, 0xFD, 11059200, 1152),
       UartMode::Mode1,
       {"\tSCON = 0x40;", "\tTMOD &= 0x0F;", "\tTMOD |= 0x20;", "\tTH1 = 0xFD;", "\tTL1 = 0xFD;", "\tPCON &= 0x7F;",
        "\tTR1 = 1;// \xC6\xF4\xB6\xAF\xB6\xA8\xCA\xB1\xC6\xF7\061",
        "//       \xCA\xB5\xBC\xCA\xB2\xA8\xCC\xD8\xC2\xCA\071600.00bps\xA3\xAC\xC6\xAB\xB2\xEE\060.00%"},
       {"AUXR", "CKCON", "__sfr", "T2CON"}},
      {"Stc12OneClockTimer1Smod1",
       Target(GeneratorKind::Timer1Mode2, ClockSelect::AuxrT1x12, true, 1, 32, 8, true),
       Setting(1, 0xFA, 22118400, 192),
       UartMode::Mode1,
       {"\tAUXR = (AUXR & 0xBE) | 0x40;", "\tTH1 = 0xFA;", "\tTL1 = 0xFA;", "\tPCON |= 0x80;",
        "__sfr __at (0x8E) AUXR;", "sfr AUXR = 0x8E;", "#ifdef __SDCC"},
       {"CKCON", "BRT =", "T2H"}},
      {"Stc89SixClockTimer1",
       Target(GeneratorKind::Timer1Mode2, ClockSelect::Fixed, false, 6, 192, 8, true),
       Setting(0, 0xFA, 11059200, 1152),
       UartMode::Mode1,
       {"\tTH1 = 0xFA;", "\tPCON &= 0x7F;"},
       {"AUXR", "__sfr"}},
      {"N76e003OneClockTimer1",
       Target(GeneratorKind::Timer1Mode2, ClockSelect::CkconT1M, true, 1, 32, 8, true),
       Setting(1, 0xF7, 32000000, 288),
       UartMode::Mode1,
       {"\tCKCON |= 0x10;", "\tTH1 = 0xF7;", "\tPCON |= 0x80;", "__sfr __at (0x8E) CKCON;", "sfr CKCON = 0x8E;"},
       {"AUXR"}},
      {"N76e003TwelveClockTimer1",
       Target(GeneratorKind::Timer1Mode2, ClockSelect::CkconT1M, false, 12, 384, 8, true),
       Setting(0, 0xF3, 16000000, 4992),
       UartMode::Mode1,
       {"\tCKCON &= 0xEF;", "\tTH1 = 0xF3;"},
       {"AUXR"}},
      {"Timer2Of8052At12MHz9600",
       Target(GeneratorKind::Timer2Rcap, ClockSelect::Fixed, false, 12, 32, 16, false),
       Setting(0, 0xFFD9, 12000000, 1248),
       UartMode::Mode1,
       {"\tT2CON &= 0xF9;", "\tRCAP2H = 0xFF;", "\tRCAP2L = 0xD9;", "\tTH2 = 0xFF;", "\tTL2 = 0xD9;",
        "\tT2CON |= 0x34;// RCLK=1 TCLK=1 TR2=1 \xC6\xF4\xB6\xAF\xB6\xA8\xCA\xB1\xC6\xF7\062",
        "#if !defined(REG8052_H) && !defined(__REG52_H__)", "__sfr __at (0xC8) T2CON;", "sfr RCAP2H = 0xCB;",
        "__sfr __at (0xCC) TL2;", "sfr TH2 = 0xCD;"},
       {"PCON |=", "PCON &=", "TMOD", "TR1", "AUXR"}},
      {"Stc15Timer2OneClock115200",
       Target(GeneratorKind::Stc15Timer2, ClockSelect::AuxrT2x12, true, 1, 4, 16, false),
       Setting(0, 0xFFE8, 11059200, 96),
       UartMode::Mode1,
       {"\tAUXR &= 0xE3;", "\tAUXR |= 0x05;", "\tT2L = 0xE8;", "\tT2H = 0xFF;",
        "\tAUXR |= 0x10;// T2R=1 \xC6\xF4\xB6\xAF\xB6\xA8\xCA\xB1\xC6\xF7\062", "__sfr __at (0xD6) T2H;",
        "sfr T2L = 0xD7;"},
       {"PCON |=", "PCON &=", "TMOD", "TR1"}},
      {"Stc15Timer2TwelveClock",
       Target(GeneratorKind::Stc15Timer2, ClockSelect::AuxrT2x12, false, 12, 48, 16, false),
       Setting(0, 0xFFE8, 11059200, 1152),
       UartMode::Mode1,
       {"\tAUXR &= 0xE3;", "\tAUXR |= 0x01;"},
       {"AUXR |= 0x05"}},
      {"Stc15Timer1Mode0TwelveClock",
       Target(GeneratorKind::Stc15Timer1Mode0, ClockSelect::AuxrT1x12, false, 12, 48, 16, false),
       Setting(0, 0xFFD0, 22118400, 2304),
       UartMode::Mode1,
       {"\tAUXR &= 0xBE;", "\tTMOD &= 0x0F;", "\tTL1 = 0xD0;", "\tTH1 = 0xFF;",
        "\tTR1 = 1;// \xC6\xF4\xB6\xAF\xB6\xA8\xCA\xB1\xC6\xF7\061"},
       {"TMOD |=", "PCON |=", "PCON &=", "T2H"}},
      {"Stc12BrtOneClockMode3",
       Target(GeneratorKind::Stc12Brt, ClockSelect::AuxrBrtx12, true, 1, 32, 8, true),
       Setting(0, 0xDC, 11059200, 1152),
       UartMode::Mode3,
       {"\tSCON = 0xC0;", "\tAUXR &= 0xEB;", "\tAUXR |= 0x05;", "\tBRT = 0xDC;", "\tPCON &= 0x7F;",
        "__sfr __at (0x9C) BRT;", "sfr BRT = 0x9C;"},
       {"TMOD", "TR1", "TH1"}},
      // ADuC Timer 3 at 16.777216 MHz for 115200: DIV = 3 (the fourth clock
      // choice), T3FD = 9, 2 x 16777216 / (2^2 x 73) = 8388608/73 bps.
      {"AducTimer3WritesT3fdThenT3con",
       AducTarget(),
       AducSetting(3, 9, 8388608, 73),
       UartMode::Mode1,
       {"\tT3FD = 0x9;", "\tT3CON = 0x83;", "__sfr __at (0x9E) T3CON;", "__sfr __at (0x9D) T3FD;", "sfr T3CON = 0x9E;",
        "sfr T3FD = 0x9D;"},
       {"PCON &=", "PCON |=", "TMOD", "TR1", "T2CON &=", "T2CON |=", "RCAP2"}},
  };
  return cases;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// True when every CR is followed by LF and every LF follows a CR.
bool EveryLineEndsInCrLf(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool strayCr = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
    const bool strayLf = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    if (strayCr || strayLf) {
      return false;
    }
  }
  return true;
}

// One test over the whole table: each case is named in the failure message,
// and the Windows build starts the test program once rather than per case.
TEST(TargetInitCode, EachGeneratorWritesItsRegistersAndNoOthers) {
  for (const RegisterCase& c : RegisterCases()) {
    SCOPED_TRACE(c.name);
    const TargetCodeRequest request{&c.target, c.setting, "11.0592MHZ", "9600", c.mode};
    const std::string code = GenerateTargetInitCode(request);
    const std::vector<std::string> lines = Lines(code);
    for (const std::string_view line : c.present) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    for (const std::string_view text : c.absent) {
      EXPECT_EQ(code.find(text), std::string::npos) << text;
    }
    // Every line ends in CR LF, the text is GBK, and no placeholder is left.
    EXPECT_TRUE(code.ends_with("}\r\n"));
    EXPECT_TRUE(EveryLineEndsInCrLf(code));
    EXPECT_TRUE(text::GbkToUtf8(code).has_value());
    EXPECT_FALSE(HoldsPlaceholder(code));
  }
}

// What a user typed is copied in as it is, once: a crystal text that looks
// like a placeholder is not filled in, and the chips' UTF-8 text becomes GBK.
TEST(TargetInitCode, UserTextsAreCopiedNotFilled) {
  BaudTarget target = Target(GeneratorKind::Timer1Mode2, ClockSelect::Fixed, false, 12, 384, 8, true);
  target.chips = "\xE7\xBB\x8F\xE5\x85\xB8\070051";  // 经典8051 in UTF-8
  const TargetCodeRequest request{&target, Setting(0, 0xFD, 11059200, 1152), "<RELOAD>MHZ", "<BPS>", UartMode::Mode1};
  const std::string code = GenerateTargetInitCode(request);
  EXPECT_NE(code.find("<RELOAD>MHZ"), std::string::npos);
  EXPECT_NE(code.find("<BPS>bps"), std::string::npos);
  EXPECT_NE(code.find("\xBE\xAD\xB5\xE4\070051"),
            std::string::npos);  // 经典 in GBK
}

// The frame a request carries is the one its UART mode can carry: a caller
// that asks for mode 3 alone gets 9N1, a mode 3 frame in mode 1 gives way to
// 8N1; 8M1 and 8N2 set TB8 in SCON's write.
TEST(TargetInitCode, TheFrameFollowsTheUartMode) {
  struct FrameCase {
    const char* name;
    UartMode mode;
    SerialFrame frame;
    std::string_view frameLine;  // the header's frame text
    std::string_view scon;
    bool frameNote;  // the "Frame:" line for code that writes SBUF itself
  };
  const BaudTarget target = Target(GeneratorKind::Timer1Mode2, ClockSelect::Fixed, false, 12, 384, 8, true);
  const std::vector<FrameCase> cases = {
      {"mode 3 alone", UartMode::Mode3, {}, "9N1: 9 data bits", "SCON = 0xC0;", true},
      {"8E1 in mode 1",
       UartMode::Mode1,
       {8, Parity::Even, 1},
       "8 data bits, 1 stop bit, no parity",
       "SCON = 0x40;",
       false},
      {"8E1", UartMode::Mode3, {8, Parity::Even, 1}, "8E1: 8 data bits, even parity", "SCON = 0xC0;", true},
      {"8N2", UartMode::Mode3, {8, Parity::None, 2}, "8N2: 8 data bits, no parity, 2 stop bits", "SCON = 0xC8;", true},
      {"8M1", UartMode::Mode3, {8, Parity::Mark, 1}, "8M1: 8 data bits", "SCON = 0xC8;", true},
      {"8S1", UartMode::Mode3, {8, Parity::Space, 1}, "8S1: 8 data bits", "SCON = 0xC0;", true},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    TargetCodeRequest request{&target, Setting(0, 0xFD, 11059200, 1152), "11.0592MHZ", "9600", c.mode};
    request.frame = c.frame;
    const std::string code = GenerateTargetInitCode(request, Language::English);
    EXPECT_NE(code.find(c.frameLine), std::string::npos);
    EXPECT_NE(code.find(c.scon), std::string::npos);
    EXPECT_EQ(code.find("// Frame:   ") != std::string::npos, c.frameNote);
    const std::string chinese = GenerateTargetInitCode(request);
    EXPECT_TRUE(EveryLineEndsInCrLf(chinese));
    EXPECT_TRUE(text::GbkToUtf8(chinese).has_value());
    EXPECT_FALSE(HoldsPlaceholder(chinese) || HoldsPlaceholder(code));
  }
}

TEST(TargetInitCode, NoTargetGivesNoText) { EXPECT_EQ(GenerateTargetInitCode(TargetCodeRequest{}), ""); }

}  // namespace
}  // namespace tesmirol
