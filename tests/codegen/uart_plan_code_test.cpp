// The init code of several UARTs of one chip as one text: every register
// declared once, the functions in the order asked, each as it is alone.

#include "codegen/uart_plan_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/target_init_code.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

namespace tesmirol {
namespace {

std::vector<TargetCodeRequest> Requests(const std::vector<const char*>& names) {
  const std::optional<ExactFrequency> frequency = ReadExactCrystal("11.0592MHz");
  std::vector<TargetCodeRequest> requests;
  for (const char* name : names) {
    const BaudTarget* target = FindBaudTarget(name);
    EXPECT_NE(target, nullptr) << name;
    if (target != nullptr && frequency) {
      requests.push_back(TargetCodeRequest{target, MakeTargetSetting(*target, *frequency, 0, 0, 3, 9600), "11.0592MHZ",
                                           "9600", UartMode::Mode1});
    }
  }
  return requests;
}

// How often each declaration line occurs, for SDCC and Keil alike.
std::map<std::string, int> Declarations(const std::string& text) {
  std::map<std::string, int> count;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    const std::string line = text.substr(start, end - start);
    if (line.starts_with("__sfr ") || line.starts_with("sfr ")) {
      ++count[line];
    }
    start = end + 2;
  }
  return count;
}

std::size_t Occurrences(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

struct PlanCase {
  const char* name;
  std::vector<const char*> targets;         // in the order asked
  std::vector<std::string_view> registers;  // each declared once for each compiler
  std::vector<std::string_view> functions;  // in the text's order
  std::size_t declarationBlocks;            // "#ifdef __SDCC" blocks (the 8052's stand apart)
};

const std::vector<PlanCase>& PlanCases() {
  static const std::vector<PlanCase> cases = {
      {"Stc8FourUarts",
       {"stc-t2-1t", "stc-u2-t2", "stc-u3-t3", "stc-u4-t4"},
       {"AUXR", "T2H", "T2L", "IE2", "S2CON", "S3CON", "T4T3M", "T3H", "T3L", "S4CON", "T4H", "T4L"},
       {"SIO_Init", "SIO2_Init", "SIO3_Init", "SIO4_Init"},
       1},
      {"Stc8Uart2And3SharingTimer2",
       {"stc-u3-t2", "stc-u2-t2"},
       {"IE2", "S3CON", "AUXR", "T2H", "T2L", "S2CON"},
       {"SIO3_Init", "SIO2_Init"},
       1},
      {"N76Uart0AndUart1OnTimer3",
       {"n76-t3-uart0", "n76-t3-uart1"},
       {"SFRS", "TA", "T3CON", "RL3", "RH3", "EIE1", "SCON_1"},
       {"SIO_Init", "SIO1_Init"},
       1},
      {"N76Uart0OnTimer1Uart1OnTimer3",
       {"n76-t1-1t", "n76-t3-uart1"},
       {"CKCON", "SFRS", "TA", "EIE1", "SCON_1", "T3CON", "RL3", "RH3"},
       {"SIO_Init", "SIO1_Init"},
       1},
      {"Ch552BothUarts",
       {"ch55x-t1", "ch55x-uart1"},
       {"T2MOD", "IE_EX", "SCON1", "SBAUD1"},
       {"SIO_Init", "SIO1_Init"},
       1},
      {"Stc12Uart2BeforeUart1",
       {"stc12-u2-brt", "stc12-brt-1t"},
       {"IE2", "S2CON", "AUXR", "BRT"},
       {"SIO2_Init", "SIO_Init"},
       1},
      {"Classic8052Timer2", {"t2-12t"}, {"T2CON", "RCAP2L", "RCAP2H", "TL2", "TH2"}, {"SIO_Init"}, 1},
      {"Classic8051NeedsNoDeclarations", {"t1-12t"}, {}, {"SIO_Init"}, 0},
  };
  return cases;
}

TEST(UartPlanCode, DeclaresEachRegisterOnceAndKeepsTheOrderAsked) {
  for (const PlanCase& c : PlanCases()) {
    SCOPED_TRACE(c.name);
    const std::vector<TargetCodeRequest> requests = Requests(c.targets);
    const std::string text = GeneratePlanInitCode(requests);
    for (const auto& [line, count] : Declarations(text)) {
      EXPECT_EQ(count, 1) << line;
    }
    for (const std::string_view reg : c.registers) {
      const std::string name(reg);
      EXPECT_EQ(Occurrences(text, ") " + name + ";\r\n"), 1U) << name;  // __sfr __at (0x..) NAME;
      EXPECT_EQ(Occurrences(text, "sfr " + name + " = "), 1U) << name;
    }
    EXPECT_EQ(Declarations(text).size(), 2 * c.registers.size());
    EXPECT_EQ(Occurrences(text, "#ifdef __SDCC"), c.declarationBlocks);
    std::size_t previous = 0;
    for (const std::string_view function : c.functions) {
      const std::string definition = "\r\nvoid " + std::string(function) + "(void)\r\n";
      EXPECT_EQ(Occurrences(text, definition), 1U) << function;
      EXPECT_GT(text.find(definition), previous) << function << " out of order";
      previous = text.find(definition);
    }
    // Each function is the one its UART gets alone, less the declarations.
    for (const TargetCodeRequest& request : requests) {
      EXPECT_NE(text.find(GenerateTargetInitFunction(request)), std::string::npos) << request.target->name;
    }
  }
}

// One UART beyond 1 % turns the whole plan into the warning; within it the
// plan's text is the functions' text.
TEST(UartPlanCode, WarnsWhenAnyUartIsBeyondTolerance) {
  const std::vector<TargetCodeRequest> requests = Requests({"stc-t2-1t", "stc-u2-t2"});
  UartPlan plan;
  for (const TargetCodeRequest& request : requests) {
    PlannedUart uart;
    uart.target = request.target;
    uart.setting = request.setting;
    uart.request.baudText = "9600";
    plan.uarts.push_back(uart);
  }
  TargetInputs inputs;
  inputs.crystalText = "11.0592MHZ";
  struct Case {
    const char* name;
    double secondDeviation;
    GenerationOutcome outcome;
  };
  for (const Case& c :
       {Case{"Within", -0.99, GenerationOutcome::Code}, Case{"Beyond", 1.01, GenerationOutcome::Warning}}) {
    SCOPED_TRACE(c.name);
    plan.uarts[0].setting.deviation = 0.0;
    plan.uarts[1].setting.deviation = c.secondDeviation;
    const GeneratedInitCode code = GeneratePlanCode(plan, inputs, UartMode::Mode1);
    EXPECT_EQ(code.outcome, c.outcome);
    if (c.outcome == GenerationOutcome::Code) {
      std::vector<TargetCodeRequest> same = requests;
      same[0].setting.deviation = 0.0;
      same[1].setting.deviation = c.secondDeviation;
      EXPECT_EQ(code.text, GeneratePlanInitCode(same));
    }
  }
}

}  // namespace
}  // namespace tesmirol
