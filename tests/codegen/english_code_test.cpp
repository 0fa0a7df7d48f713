// The English renderings of every generated text: ASCII only, and with the
// comments taken away, the very code of the Chinese rendering; and the
// caller's note lines where the header comments document them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/init_code_generator.h"
#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "codegen/target_registers.h"
#include "codegen/uart_driver.h"
#include "codegen/uart_plan_code.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

#include "support/code_text_checks.h"

namespace tesmirol {
namespace {

using testing_support::HoldsPlaceholder;

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) {
      break;
    }
    start = end + 2;
  }
  return lines;
}

// The text's lines without their comments (from the marker to the line's
// end, with the blanks before it); a line that was all comment goes, an
// empty line of the code stays.
std::vector<std::string> CodeLines(std::string_view text, std::string_view marker) {
  std::vector<std::string> code;
  for (const std::string& line : Lines(text)) {
    const std::size_t comment = line.find(marker);
    if (comment == std::string::npos) {
      code.push_back(line);
      continue;
    }
    std::string kept = line.substr(0, comment);
    kept.erase(kept.find_last_not_of(" \t") + 1);
    if (!kept.empty()) {
      code.push_back(kept);
    }
  }
  return code;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The checks every pair of renderings must pass: English ASCII, complete
// and speaking otherwise than the Chinese text, the code the same.
void ExpectTwins(const std::string& chinese, const std::string& english, std::string_view marker) {
  ASSERT_FALSE(english.empty());
  EXPECT_TRUE(IsAscii(english));
  EXPECT_FALSE(HoldsPlaceholder(english));
  EXPECT_NE(english, chinese);
  EXPECT_EQ(CodeLines(english, marker), CodeLines(chinese, marker));
}

TargetSetting SettingAt(const BaudTarget& target, std::uint32_t clock, std::uint32_t smod) {
  const std::optional<ExactFrequency> frequency = ReadExactCrystal("11.0592MHz");
  // The CC253x USART's mantissa 259 (BAUD_M = 3), every other generator's divisor 3.
  const std::uint64_t n = target.generator == GeneratorKind::CcUsart ? 259 : 3;
  return frequency ? MakeTargetSetting(target, *frequency, clock, smod, n, 9600) : TargetSetting{};
}

// In mode 3 the CC253x USART carries 8N2, its one frame of two stop bits.
TargetCodeRequest RequestFor(const BaudTarget& target, std::uint32_t clock, std::uint32_t smod, UartMode mode) {
  TargetCodeRequest request{&target, SettingAt(target, clock, smod), "11.0592MHZ", "9600", mode};
  if (target.generator == GeneratorKind::CcUsart && mode == UartMode::Mode3) {
    request.frame = SerialFrame{8, Parity::None, 2};
  }
  return request;
}

// Every generator of the catalogue at each of its clock choices, doubling
// bits and UART modes, with the interrupt on (init code) and off (the
// polled driver's init function).
TEST(EnglishCode, EveryTargetClockAndModeHasTheChineseCode) {
  std::set<GeneratorKind> generators;
  for (const BaudTarget& target : BaudTargets()) {
    generators.insert(target.generator);
    for (std::uint32_t clock = 0; clock < std::max<std::size_t>(1, target.clocks.size()); ++clock) {
      for (const std::uint32_t smod : {0U, 1U}) {
        for (const UartMode mode : {UartMode::Mode1, UartMode::Mode3}) {
          for (const bool enableInterrupt : {true, false}) {
            SCOPED_TRACE(target.name + " clock " + std::to_string(clock) + " smod " + std::to_string(smod) +
                         (mode == UartMode::Mode3 ? " mode 3" : " mode 1") + (enableInterrupt ? "" : " polled"));
            TargetCodeRequest request = RequestFor(target, clock, smod, mode);
            request.enableInterrupt = enableInterrupt;
            ExpectTwins(GenerateTargetInitCode(request), GenerateTargetInitCode(request, Language::English), "//");
          }
        }
      }
    }
  }
  EXPECT_EQ(generators.size(), 15U) << "a generator kind is missing from the catalogue's cases";
}

// One catalogue target of each serial port, the ports a driver and the
// assembly text tell apart.
std::vector<const BaudTarget*> OneTargetPerPort() {
  std::vector<const BaudTarget*> targets;
  std::set<SerialPort> seen;
  for (const BaudTarget& target : BaudTargets()) {
    if (seen.insert(SerialPortOf(target)).second) {
      targets.push_back(&target);
    }
  }
  return targets;
}

struct DriverCase {
  const char* name;
  DriverOptions options;
  UartMode mode;
};

// Every part of the driver that changes with the options: interrupt or
// polled, byte or word indexes, idata or xdata, a register bank or none,
// the framing count of mode 1 or its text for mode 3.
const std::vector<DriverCase>& DriverCases() {
  static const std::vector<DriverCase> cases = {
      {"InterruptByteIndexes",
       {DriverKind::Interrupt, 16, 16, BufferSpace::Idata, std::nullopt, ChipMemory{}, "8052", std::nullopt, false},
       UartMode::Mode1},
      {"InterruptWordIndexesInXdata",
       {DriverKind::Interrupt, 512, 256, BufferSpace::Xdata, 1, ChipMemory{256, 1024, XramEnable::Always}, "stc8",
        std::nullopt, false},
       UartMode::Mode1},
      {"InterruptMode3",
       {DriverKind::Interrupt, 8, 32, BufferSpace::Idata, 2, ChipMemory{}, "8052", std::nullopt, false},
       UartMode::Mode3},
      {"InterruptRs485Crlf",
       {DriverKind::Interrupt, 16, 16, BufferSpace::Idata, std::nullopt, ChipMemory{}, "8052", Rs485Pin{3, 7, false},
        true},
       UartMode::Mode1},
      {"Polled",
       {DriverKind::Polled, 16, 16, BufferSpace::Idata, std::nullopt, ChipMemory{}, "8052", std::nullopt, false},
       UartMode::Mode1},
      {"PolledMode3Rs485",
       {DriverKind::Polled, 16, 16, BufferSpace::Idata, std::nullopt, ChipMemory{}, "8052", Rs485Pin{1, 0, true}, true},
       UartMode::Mode3},
  };
  return cases;
}

TEST(EnglishCode, EveryDriverVariantHasTheChineseCode) {
  const std::vector<const BaudTarget*> targets = OneTargetPerPort();
  ASSERT_EQ(targets.size(), 10U) << "a serial port is missing from the catalogue's cases";
  for (const DriverCase& c : DriverCases()) {
    std::vector<TargetCodeRequest> requests;
    for (const BaudTarget* target : targets) {
      SCOPED_TRACE(std::string(c.name) + " " + target->name);
      requests.push_back(RequestFor(*target, 0, 0, c.mode));
      const std::vector<DriverFiles> chinese = GenerateDriverFiles({&requests.back(), 1}, c.options);
      const std::vector<DriverFiles> english = GenerateDriverFiles({&requests.back(), 1}, c.options, Language::English);
      ASSERT_EQ(english.size(), chinese.size());
      for (std::size_t i = 0; i < chinese.size(); ++i) {
        EXPECT_EQ(english[i].name, chinese[i].name);
        ExpectTwins(chinese[i].header, english[i].header, "//");
        ExpectTwins(chinese[i].source, english[i].source, "//");
      }
    }
    SCOPED_TRACE(std::string(c.name) + " as one text");
    ExpectTwins(GenerateDriverText(requests, c.options), GenerateDriverText(requests, c.options, Language::English),
                "//");
  }
}

TEST(EnglishCode, EveryAssemblyTargetAndSyntaxHasTheChineseCode) {
  for (const std::string& name : AsmCoveredTargetNames()) {
    const BaudTarget* target = FindBaudTarget(name);
    ASSERT_NE(target, nullptr) << name;
    for (const AsmSyntax syntax : {AsmSyntax::A51, AsmSyntax::Sdas}) {
      for (const UartMode mode : {UartMode::Mode1, UartMode::Mode3}) {
        SCOPED_TRACE(name + (syntax == AsmSyntax::A51 ? " A51" : " sdas8051") +
                     (mode == UartMode::Mode3 ? " mode 3" : " mode 1"));
        const TargetCodeRequest request = RequestFor(*target, 0, 0, mode);
        ExpectTwins(GenerateAsmDriver({&request, 1}, syntax),
                    GenerateAsmDriver({&request, 1}, syntax, Language::English), ";");
      }
    }
  }
}

TEST(EnglishCode, PlanCodeHasTheChineseCode) {
  for (const std::vector<std::string_view>& names : std::vector<std::vector<std::string_view>>{
           {"stc-t2-1t", "stc-u2-t2", "stc-u3-t3", "stc-u4-t4"},
           {"n76-t3-uart0", "n76-t3-uart1"},
           {"t2-12t"},
       }) {
    std::vector<TargetCodeRequest> requests;
    for (const std::string_view name : names) {
      const BaudTarget* target = FindBaudTarget(name);
      ASSERT_NE(target, nullptr) << name;
      requests.push_back(RequestFor(*target, 0, 0, UartMode::Mode1));
    }
    SCOPED_TRACE(std::string(names.front()));
    ExpectTwins(GeneratePlanInitCode(requests), GeneratePlanInitCode(requests, Language::English), "//");
  }
}

struct ClassicCase {
  const char* name;
  std::string_view crystal;
  std::string_view baud;
  GenerationOutcome outcome;
};

// The dialog's SIO_Init: both doubling bits, and the warning.
TEST(EnglishCode, ClassicCodeHasTheChineseCode) {
  const std::vector<ClassicCase> cases = {
      {"Smod0", "11.0592MHz", "9600", GenerationOutcome::Code},
      {"Smod1", "11.0592MHz", "19200", GenerationOutcome::Code},
      {"Warning", "12MHz", "9600", GenerationOutcome::Warning},
  };
  for (const ClassicCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<BaudCalculation> calculation = CalculateBaud(c.crystal, c.baud);
    ASSERT_TRUE(calculation.has_value());
    const GeneratedInitCode chinese = GenerateInitCode(*calculation);
    const GeneratedInitCode english = GenerateInitCode(*calculation, Language::English);
    ASSERT_EQ(chinese.outcome, c.outcome);
    EXPECT_EQ(english.outcome, c.outcome);
    if (c.outcome == GenerationOutcome::Code) {
      ExpectTwins(chinese.text, english.text, "//");
    } else {
      EXPECT_EQ(english.text, DeviationWarningText(Language::English));
      EXPECT_TRUE(IsAscii(english.text));
      EXPECT_EQ(chinese.text, kDeviationWarningText);
    }
  }
}

// "// 返回:" in GBK and its English twin: the line the notes go before.
constexpr std::string_view kChineseReturns = "// \xB7\xB5\xBB\xD8:";
constexpr std::string_view kEnglishReturns = "// Returns:";
// "; 公式:" in GBK and its English twin: the assembly header's formula line,
// which the notes follow.
constexpr std::string_view kChineseAsmFormula = "; \xB9\xAB\xCA\xBD:";
constexpr std::string_view kEnglishAsmFormula = "; Formula:";

enum class NotedText { Classic, Target, Plan, Assembly };

struct NoteCase {
  const char* name;
  NotedText text;
  Language language;
  std::string_view anchor;  // the line the notes stand before (C) or after (assembly)
};

// The notes as the header comment holds them, for any noted text.
std::string NotedTextOf(NotedText kind, Language language, const std::vector<std::string>& notes) {
  const BaudTarget* target = FindBaudTarget("stc-u2-t2");
  const BaudTarget* other = FindBaudTarget("stc-u3-t3");
  if (target == nullptr || other == nullptr) {
    return {};
  }
  TargetCodeRequest request = RequestFor(*target, 0, 0, UartMode::Mode1);
  request.notes = notes;
  switch (kind) {
    case NotedText::Classic: {
      const std::optional<BaudCalculation> calculation = CalculateBaud("11.0592MHz", "9600");
      return calculation ? GenerateInitCode(*calculation, language, notes).text : std::string();
    }
    case NotedText::Target:
      return GenerateTargetInitCode(request, language);
    case NotedText::Plan: {
      const std::vector<TargetCodeRequest> requests = {request, RequestFor(*other, 0, 0, UartMode::Mode1)};
      return GeneratePlanInitCode(requests, language);
    }
    case NotedText::Assembly:
      return GenerateAsmDriver({&request, 1}, AsmSyntax::Sdas, language);
  }
  return {};
}

TEST(EnglishCode, NoteLinesStandWhereTheHeaderCommentsSay) {
  const std::vector<NoteCase> cases = {
      {"ClassicChinese", NotedText::Classic, Language::Chinese, kChineseReturns},
      {"ClassicEnglish", NotedText::Classic, Language::English, kEnglishReturns},
      {"TargetChinese", NotedText::Target, Language::Chinese, kChineseReturns},
      {"TargetEnglish", NotedText::Target, Language::English, kEnglishReturns},
      {"PlanChinese", NotedText::Plan, Language::Chinese, kChineseReturns},
      {"PlanEnglish", NotedText::Plan, Language::English, kEnglishReturns},
      {"AssemblyChinese", NotedText::Assembly, Language::Chinese, kChineseAsmFormula},
      {"AssemblyEnglish", NotedText::Assembly, Language::English, kEnglishAsmFormula},
  };
  // "链路: 与CH340在115200bps通信，可用" in GBK, a second note that looks like
  // a placeholder, and one whose line break must not end the comment.
  const std::vector<std::string> notes = {
      "\xC1\xB4\xC2\xB7: \xD3\xEB"
      "CH340"
      "\xD4\xDA"
      "115200bps"
      "\xCD\xA8\xD0\xC5\xA3\xAC\xBF\xC9\xD3\xC3",
      "Link: <RELOAD> stays as typed", "first half\r\nsecond half"};
  for (const NoteCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool assembly = c.text == NotedText::Assembly;
    const std::string marker = assembly ? "; " : "// ";
    const std::string plain = NotedTextOf(c.text, c.language, {});
    const std::vector<std::string> lines = Lines(NotedTextOf(c.text, c.language, notes));
    const auto anchor =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(c.anchor); });
    ASSERT_NE(anchor, lines.end());
    const auto first = assembly ? anchor + 1 : anchor - static_cast<std::ptrdiff_t>(notes.size());
    ASSERT_GE(lines.end() - first, static_cast<std::ptrdiff_t>(notes.size()));
    EXPECT_EQ(*first, marker + notes[0]);
    EXPECT_EQ(*(first + 1), marker + notes[1]);
    EXPECT_EQ(*(first + 2), marker + "first half  second half");
    // Only the notes were added: in a plan, to its first function alone.
    EXPECT_EQ(lines.size(), Lines(plain).size() + notes.size());
  }
}

}  // namespace
}  // namespace tesmirol
