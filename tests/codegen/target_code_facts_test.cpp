// What the generated code says and does, held against the catalogue for
// every target: the comments that state a clock, a divider or the formula
// (C and assembly, Chinese and English), and the registers --list-targets
// says the setting writes.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "codegen/init_choices.h"
#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "engine/target_catalogue.h"
#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol {
namespace {

// How many timer overflows (or baud-rate counter periods) the UART takes
// per bit, by the data sheets: the formula's divider is this times the
// oscillator clocks per timer count.
std::uint32_t OverflowsPerBit(const BaudTarget& target) {
  switch (target.generator) {
    case GeneratorKind::Timer1Mode2:  // 32 / 2^SMOD
    case GeneratorKind::AtmelBrg:     // 32 / 2^SMOD1, the generator counting FPER or FPER/6
    case GeneratorKind::Stc12Brt:
    case GeneratorKind::Ch55xSbaud1:
      return 32;
    case GeneratorKind::Timer2Rcap:  // 16, Timer 2 counting at f/2 (f in 6-clock mode)
      return 16;
    case GeneratorKind::N76Timer3:  // UART0 with SMOD, UART1 without
      return target.uart == "UART1" ? 16 : 32;
    case GeneratorKind::Stc15Timer2:
    case GeneratorKind::Stc15Timer1Mode0:
    case GeneratorKind::StcTimer3:
    case GeneratorKind::StcTimer4:
      return 4;
    case GeneratorKind::SilabsTimer1:
    case GeneratorKind::Efm8Uart1:
      return 2;
    case GeneratorKind::NrfS0rel:  // 64 / 2^SMOD counter periods, the counter at the MCU clock
      return 64;
    case GeneratorKind::CcUsart:  // no timer: the exponent's own comments are checked in target_init_code_test
    case GeneratorKind::AducT3:   // a fractional divider, not a count of overflows: checked in target_init_code_test
      break;
  }
  return 0;
}

// The dividers of every target of the same generator and clock selector: a
// comment that explains the selector may name each of its clocks.
std::set<std::uint32_t> SelectorDividers(const BaudTarget& target) {
  std::set<std::uint32_t> dividers;
  for (const BaudTarget& other : BaudTargets()) {
    if (other.generator == target.generator && other.clockSelect == target.clockSelect) {
      for (const ClockChoice& clock : other.clocks) {
        dividers.insert(clock.divider);
      }
    }
  }
  return dividers;
}

TargetSetting SettingAt(const BaudTarget& target, std::uint32_t clockIndex) {
  TargetSetting setting;
  setting.clockIndex = clockIndex;
  setting.clocksPerCycle = target.clocks.at(clockIndex).clocksPerCycle;
  setting.divider = target.clocks.at(clockIndex).divider;
  setting.reload = 0xF0;
  setting.reloadLow = 0xF0;
  setting.achievedNumerator = 9600;
  setting.achievedDenominator = 1;
  return setting;
}

TargetCodeRequest RequestAt(const BaudTarget& target, std::uint32_t clockIndex) {
  return TargetCodeRequest{&target, SettingAt(target, clockIndex), "11.0592MHz", "9600", UartMode::Mode1};
}

// The comment lines of the C or assembly text, as UTF-8.
std::string CommentLines(const std::string& gbk) {
  const std::string utf8 = text::GbkToUtf8(gbk).value_or(std::string());
  std::string comments;
  std::size_t start = 0;
  while (start < utf8.size()) {
    const std::size_t end = std::min(utf8.find('\n', start), utf8.size());
    const std::string line = utf8.substr(start, end - start);
    const std::size_t mark = std::min(line.find("//"), line.find(';'));
    if (mark != std::string::npos) {
      comments += line.substr(mark) + "\n";
    }
    start = end + 1;
  }
  return comments;
}

struct CodeText {
  std::string what;
  std::string comments;
};

std::vector<CodeText> TextsAt(const BaudTarget& target, std::uint32_t clockIndex) {
  const TargetCodeRequest request = RequestAt(target, clockIndex);
  std::vector<CodeText> texts;
  for (const Language language : {Language::Chinese, Language::English}) {
    const std::string name = target.name + (language == Language::English ? " en" : " zh");
    texts.push_back({name + " C", CommentLines(GenerateTargetInitCode(request, language))});
    if (AsmCoversTarget(target)) {
      texts.push_back({name + " asm", CommentLines(GenerateAsmDriver({&request, 1}, AsmSyntax::A51, language))});
    }
  }
  return texts;
}

TEST(TargetCodeFacts, ClockAndFormulaCommentsFollowTheCatalogue) {
  // The header's count line, then any other count or clock named in a comment.
  const std::regex headerCount(R"(counts once every (\d+) clocks|每(\d+)个时钟计数一次)");
  const std::regex clockNamed(R"(every (\d+) clocks|每(\d+)个时钟|\b(?:f|Fsys|SYSCLK)/(\d+)\b(?!/))");
  const std::regex formula(R"((?:Formula: baud|公式: 波特率) = (2\^\w+ x )?f / \((\d+) x \((\d+) - )");
  std::size_t checked = 0;
  for (const BaudTarget& target : BaudTargets()) {
    const std::uint32_t perBit = OverflowsPerBit(target);
    if (perBit == 0) {
      continue;
    }
    const std::set<std::uint32_t> dividers = SelectorDividers(target);
    for (std::uint32_t clockIndex = 0; clockIndex < target.clocks.size(); ++clockIndex) {
      const std::uint32_t divider = target.clocks[clockIndex].divider;
      for (const CodeText& code : TextsAt(target, clockIndex)) {
        const std::string where = code.what + " clock " + std::to_string(clockIndex);
        std::smatch match;
        ASSERT_TRUE(std::regex_search(code.comments, match, headerCount)) << where;
        EXPECT_EQ(std::stoul(match[1].matched ? match[1].str() : match[2].str()) * perBit, divider)
            << where << ": " << match[0];
        ASSERT_TRUE(std::regex_search(code.comments, match, formula)) << where;
        EXPECT_EQ(match[1].matched, target.smodDoubles) << where << ": " << match[0];
        EXPECT_EQ(std::stoul(match[2].str()), divider) << where << ": " << match[0];
        EXPECT_EQ(std::stoul(match[3].str()), 1UL << target.reloadBits) << where << ": " << match[0];
        for (auto it = std::sregex_iterator(code.comments.begin(), code.comments.end(), clockNamed);
             it != std::sregex_iterator(); ++it) {
          const std::smatch& named = *it;
          const std::string number = named[1].matched ? named[1].str() : named[2].matched ? named[2].str() : named[3];
          EXPECT_TRUE(dividers.contains(static_cast<std::uint32_t>(std::stoul(number)) * perBit))
              << where << ": \"" << named[0] << "\" is no clock of " << target.name << "'s selector";
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, BaudTargets().size() * 3);
}

// The registers (or bits) the listing names: each item up to its first
// '.', ' ' or '(', items separated by ", " outside parentheses.
std::vector<std::string> ListedRegisters(std::string_view listing) {
  std::vector<std::string> names;
  int depth = 0;
  std::string item;
  auto flush = [&names, &item] {
    const std::size_t end = item.find_first_of(". (");
    if (!item.empty()) {
      names.push_back(item.substr(0, end));
    }
    item.clear();
  };
  for (std::size_t index = 0; index < listing.size(); ++index) {
    const char c = listing[index];
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (depth == 0 && c == ',' && index + 1 < listing.size() && listing[index + 1] == ' ') {
      flush();
      ++index;
      continue;
    }
    item += c;
  }
  flush();
  return names;
}

TEST(TargetCodeFacts, EveryRegisterTheListingNamesIsWritten) {
  // Bits the code writes through their byte register.
  const std::vector<std::pair<std::string, std::string>> byteOf = {{"IE_UART1", "IE_EX"}};
  // Interrupt enables: the assembly init is the polled driver's and leaves them off.
  const std::set<std::string> interruptEnables = {"IE2", "IE_EX", "EIE1"};
  for (const BaudTarget& target : BaudTargets()) {
    const auto listing = TargetText(Language::English, target.name, TargetTextField::Registers);
    ASSERT_TRUE(listing.has_value()) << target.name;
    const TargetCodeRequest request = RequestAt(target, 0);
    const std::string c = GenerateTargetInitCode(request, Language::English);
    const std::string assembly =
        AsmCoversTarget(target) ? GenerateAsmDriver({&request, 1}, AsmSyntax::A51, Language::English) : "";
    for (std::string name : ListedRegisters(*listing)) {
      for (const auto& [bit, byte] : byteOf) {
        name = name == bit ? byte : name;
      }
      EXPECT_TRUE(std::regex_search(c, std::regex("\n\t" + name + R"( (=|\|=|&=) )")))
          << target.name << ": the C code does not write " << name << " (listed: " << *listing << ")";
      if (!assembly.empty() && !interruptEnables.contains(name)) {
        EXPECT_TRUE(std::regex_search(assembly, std::regex("\n\t(MOV|ANL|ORL|SETB|CLR)\t" + name + R"(\b)")))
            << target.name << ": the assembly does not write " << name << " (listed: " << *listing << ")";
      }
    }
  }
}

}  // namespace
}  // namespace tesmirol
