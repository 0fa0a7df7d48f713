#include "codegen/init_code_generator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_calculation.h"
#include "text/encoding.h"

// The complete generated text for 11.0592MHz / 9600, compiled in from
// golden/sio_init_11.0592MHz_9600.c.
std::span<const unsigned char> EmbeddedGoldenSioInit();

namespace tesmirol {
namespace {

BaudCalculation Calculate(std::string_view crystal, std::string_view baud) {
  const std::optional<BaudCalculation> calculation = CalculateBaud(crystal, baud);
  EXPECT_TRUE(calculation.has_value()) << crystal << ", " << baud;
  return calculation.value_or(BaudCalculation{});
}

// Line number (1-based) of the generated text, without its CR LF.
std::string Line(const std::string& text, std::size_t number) {
  std::size_t start = 0;
  for (std::size_t i = 1; i < number; ++i) {
    start = text.find("\r\n", start);
    if (start == std::string::npos) {
      return "<no line " + std::to_string(number) + ">";
    }
    start += 2;
  }
  return text.substr(start, text.find("\r\n", start) - start);
}

// A tab-indented statement line of the generated function: "\t" + body + ";".
std::string StatementLine(std::string_view head, std::string_view value) {
  std::string line = "\t";
  line.append(head).append(value).append(";");
  return line;
}

std::string Utf8Line(const std::string& gbk, std::size_t number) {
  return text::GbkToUtf8(Line(gbk, number)).value_or("<not GBK>");
}

struct GenerationCase {
  const char* name;
  std::string_view crystal;
  std::string_view baud;
  GenerationOutcome outcome;
  std::string_view reloadText;  // for Code
  std::string_view pcon;        // for Code
  std::string_view line3;       // for Code, in UTF-8
};

constexpr std::array<GenerationCase, 10> kGenerationCases = {{
    {"smod0 exact", "11.0592MHz", "9600", GenerationOutcome::Code, "0xFD", "PCON &= 0x7F",
     "// 说明: 11.0592MHZ晶震下初始化串口波特率为9600bps"},
    {"smod0 off by 25 percent, smod1 exact", "11.0592MHz", "19200", GenerationOutcome::Code, "0xFD", "PCON |= 0x80",
     "// 说明: 11.0592MHZ晶震下初始化串口波特率为19200bps"},
    {"both off by more than 1 percent", "12MHz", "9600", GenerationOutcome::Warning, "", "", ""},
    {"smod0 off by exactly 1 percent", "12MHz", "300", GenerationOutcome::Code, "0x97", "PCON &= 0x7F",
     "// 说明: 12MHZ晶震下初始化串口波特率为300bps"},
    {"smod1 closer, only it within 1 percent", "24MHz", "1200", GenerationOutcome::Code, "0x97", "PCON |= 0x80",
     "// 说明: 24MHZ晶震下初始化串口波特率为1200bps"},
    {"smod0 preferred although smod1 is closer", "6MHz", "110", GenerationOutcome::Code, "0x71", "PCON &= 0x7F",
     "// 说明: 6MHZ晶震下初始化串口波特率为110bps"},
    {"negative reload as two's complement", "11.0592MHz", "112", GenerationOutcome::Code, "0xFFFFFFFF", "PCON &= 0x7F",
     "// 说明: 11.0592MHZ晶震下初始化串口波特率为112bps"},
    {"both too low", "11.0592MHz", "110", GenerationOutcome::Nothing, "", "", ""},
    {"lower-case crystal text", "11.0592mhz", "9600", GenerationOutcome::Code, "0xFD", "PCON &= 0x7F",
     "// 说明: 11.0592MHZ晶震下初始化串口波特率为9600bps"},
    {"baud text as typed", "11.0592MHz", "9600abc", GenerationOutcome::Code, "0xFD", "PCON &= 0x7F",
     "// 说明: 11.0592MHZ晶震下初始化串口波特率为9600abcbps"},
}};

TEST(InitCodeGeneratorTest, OutcomeAndFilledLines) {
  for (const GenerationCase& c : kGenerationCases) {
    SCOPED_TRACE(c.name);
    const GeneratedInitCode generated = GenerateInitCode(Calculate(c.crystal, c.baud));
    ASSERT_EQ(generated.outcome, c.outcome);
    switch (c.outcome) {
      case GenerationOutcome::Nothing:
        EXPECT_EQ(generated.text, "");
        break;
      case GenerationOutcome::Warning:
        EXPECT_EQ(generated.text, kDeviationWarningText);
        break;
      case GenerationOutcome::Code:
        EXPECT_EQ(Utf8Line(generated.text, 3), c.line3);
        EXPECT_EQ(Line(generated.text, 43), StatementLine("TH1 = ", c.reloadText));
        EXPECT_EQ(Line(generated.text, 44), StatementLine("TL1 = ", c.reloadText));
        EXPECT_EQ(Line(generated.text, 50), StatementLine("", c.pcon));
        EXPECT_EQ(generated.text.find('<'), std::string::npos) << "a placeholder is left";
        break;
    }
  }
}

TEST(InitCodeGeneratorTest, MatchesGoldenFileByteForByte) {
  const std::span<const unsigned char> golden(EmbeddedGoldenSioInit());
  const std::string expected(golden.begin(), golden.end());
  EXPECT_EQ(GenerateInitCode(Calculate("11.0592MHz", "9600")).text, expected);
}

// Each replacement searches the text left by the ones before it, so a
// placeholder typed into a box is filled only by the steps that come later:
// <BPS>, <CYSTRAL>, <TH1>, <TL1>, <PCON>.
TEST(InitCodeGeneratorTest, ReplacementOrder) {
  struct Case {
    const char* name;
    std::string_view crystal;
    std::string_view baud;
    std::string_view line3;  // UTF-8
  };
  const std::vector<Case> cases = {
      {"<BPS> in the crystal text stays", "11.0592MHz<BPS>", "9600",
       "// 说明: 11.0592MHZ<BPS>晶震下初始化串口波特率为9600bps"},
      {"<CYSTRAL> in the baud text is filled", "11.0592MHz", "9600<CYSTRAL>",
       "// 说明: 11.0592MHZ晶震下初始化串口波特率为960011.0592MHZbps"},
      {"<TH1> in the crystal text is filled", "11.0592MHz<TH1>", "9600",
       "// 说明: 11.0592MHZ0xFD晶震下初始化串口波特率为9600bps"},
      {"<TL1> in the crystal text is filled", "11.0592MHz<TL1>", "9600",
       "// 说明: 11.0592MHZ0xFD晶震下初始化串口波特率为9600bps"},
      {"<PCON> in the baud text is filled", "11.0592MHz", "9600<PCON>",
       "// 说明: 11.0592MHZ晶震下初始化串口波特率为9600PCON &= 0x7Fbps"},
  };
  for (const Case& c : cases) {
    const GeneratedInitCode generated = GenerateInitCode(Calculate(c.crystal, c.baud));
    ASSERT_EQ(generated.outcome, GenerationOutcome::Code) << c.name;
    EXPECT_EQ(Utf8Line(generated.text, 3), c.line3) << c.name;
    EXPECT_EQ(Line(generated.text, 43), "\tTH1 = 0xFD;") << c.name;
  }
}

// The byte 0x81 begins a double-byte character, so the '<' after it is that
// character's second byte and "<TH1>" is no placeholder there; the reload
// lines are filled as usual.
TEST(InitCodeGeneratorTest, DoesNotMatchInsideDoubleByteCharacter) {
  const GeneratedInitCode generated = GenerateInitCode(Calculate("11.0592MHz\x81<TH1>", "9600"));
  ASSERT_EQ(generated.outcome, GenerationOutcome::Code);
  EXPECT_NE(Line(generated.text, 3).find("11.0592MHZ\x81<TH1>"), std::string::npos);
  EXPECT_EQ(Line(generated.text, 43), "\tTH1 = 0xFD;");
  EXPECT_EQ(Line(generated.text, 44), "\tTL1 = 0xFD;");
}

TEST(InitCodeGeneratorTest, WarningTextIsTheChineseSentence) {
  EXPECT_EQ(text::GbkToUtf8(kDeviationWarningText), "生成的波特率存在偏差，不建议使用该方案！");
}

}  // namespace
}  // namespace tesmirol
