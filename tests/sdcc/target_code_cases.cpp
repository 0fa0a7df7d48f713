// Writes the generated init function of every catalogue target for a spread
// of the preset pairs, and the init code of a few plans of several UARTs of
// one chip, in GBK and in UTF-8, with one line of JSON per file with what
// the solver or the planner chose, for the SDCC and simulator tests to check.
//
// Usage: target_code_cases DIR
// Each target gets the pairs (crystal i, rate j) of the first eight crystal
// presets with (i + j + target) % 5 == 0, so that together the targets cover
// every rate and crystal of that spread. Every other solved pair is written
// with the best setting, the others with the best setting of one clock
// choice and doubling bit after another, so that the cases of a target go
// through every clock it offers; every third solved pair is written in UART
// mode 3 as well. The first case of each target, and the plans marked so,
// are written in English as well (STEM_en.c, ASCII). Cases go to
// cases.jsonl, plans to plans.jsonl.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "codegen/target_init_code.h"
#include "codegen/uart_plan_code.h"
#include "engine/language.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol {
namespace {

constexpr std::size_t kCrystals = 8;
constexpr std::size_t kSpread = 5;

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// Writes the text in GBK and UTF-8 under the stem; false when a file could
// not be written or the text is not GBK.
bool WriteBoth(const std::string& dir, const std::string& stem, const std::string& gbk) {
  const std::optional<std::string> utf8 = text::GbkToUtf8(gbk);
  return utf8 && WriteFile(dir + "/" + stem + "_gbk.c", gbk) && WriteFile(dir + "/" + stem + "_utf8.c", *utf8);
}

std::string Stem(std::string_view prefix, std::size_t number) {
  const std::string digits = std::to_string(number);
  return std::string(prefix) + std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
}

// What the tests need to know of one UART's setting.
nlohmann::ordered_json SettingJson(const BaudTarget& t, const TargetSetting& s) {
  const ClockChoice& clock = t.clocks.at(s.clockIndex);
  return {
      {"target", t.name},
      {"uart", t.uart},
      {"function", t.function},
      {"generator", GeneratorKindName(t.generator)},
      {"clock", ClockSelectName(t.clockSelect)},
      {"clockFast", t.clockFast},
      {"clockIndex", s.clockIndex},
      {"select", clock.select},
      {"clocksPerCycle", clock.clocksPerCycle},
      {"smod", s.smod},
      {"reload", s.reload},
      {"numerator", s.achievedNumerator},
      {"denominator", s.achievedDenominator},
  };
}

// Writes the English rendering under the stem; false when it could not be
// written.
bool WriteEnglish(const std::string& dir, const std::string& stem, const std::string& english) {
  return WriteFile(dir + "/" + stem + "_en.c", english);
}

struct Case {
  const BaudTarget* target;
  std::string_view crystal;
  std::string_view baud;
  UartMode mode;
  TargetSetting setting;
  bool best;     // the solver's choice, which tesmirol-cli writes too
  bool english;  // written in English as well
};

bool WriteCase(const std::string& dir, std::size_t number, const Case& c, std::ostream& manifest) {
  const std::optional<TargetInputs> inputs = ReadTargetInputs(c.crystal, c.baud);
  TargetCodeRequest request{c.target, c.setting, inputs->crystalText, inputs->baudText, c.mode};
  if (c.target->generator == GeneratorKind::CcUsart && c.mode == UartMode::Mode3) {
    // The CC253x USART's mode-3 frame is 8N2 (UxUCR.SPB): it has no ninth bit.
    request.frame = SerialFrame{8, Parity::None, 2};
  }
  const std::string stem = Stem("case_", number);
  if (!WriteBoth(dir, stem, GenerateTargetInitCode(request))) {
    return false;
  }
  if (c.english && !WriteEnglish(dir, stem, GenerateTargetInitCode(request, Language::English))) {
    return false;
  }
  nlohmann::ordered_json line = {{"stem", stem}};
  line.update(SettingJson(*c.target, c.setting));
  line["crystal"] = c.crystal;
  line["baud"] = c.baud;
  line["mode"] = c.mode == UartMode::Mode3 ? 3 : 1;
  line["best"] = c.best;
  line["english"] = c.english;
  manifest << line.dump() << "\n";
  return true;
}

// The best setting of each clock choice and doubling bit that is in range,
// the doubling bit's 0 settings first, so that a few cases go through every
// clock choice.
std::vector<TargetSetting> EachClock(const TargetSolution& solution) {
  std::vector<TargetSetting> settings;
  for (const std::uint32_t smod : {0U, 1U}) {
    for (std::size_t i = 0; i < solution.modeCount; ++i) {
      const TargetModeResult& mode = solution.modes.at(i);
      if (mode.status == TargetStatus::Ok && mode.triedCount > 0 && mode.tried.at(mode.bestTried).smod == smod) {
        settings.push_back(mode.tried.at(mode.bestTried));
      }
    }
  }
  return settings;
}

bool WriteTargetCases(const std::string& dir, std::ostream& manifest) {
  const auto crystals = CrystalPresets();
  const auto rates = BaudPresets();
  std::size_t number = 0;
  std::size_t targetIndex = 0;
  for (const BaudTarget& target : BaudTargets()) {
    std::size_t solved = 0;
    for (std::size_t i = 0; i < kCrystals && i < crystals.size(); ++i) {
      for (std::size_t j = 0; j < rates.size(); ++j) {
        if ((i + j + targetIndex) % kSpread != 0) {
          continue;
        }
        const std::optional<TargetSolution> solution = SolveTarget(target, crystals[i], rates[j]);
        if (!solution || solution->status != TargetStatus::Ok) {
          continue;
        }
        const std::vector<TargetSetting> clocks = EachClock(*solution);
        const bool best = solved % 2 == 0 || clocks.empty();
        const TargetSetting setting = best ? solution->best : clocks.at((solved / 2) % clocks.size());
        for (const UartMode mode : {UartMode::Mode1, UartMode::Mode3}) {
          if (mode == UartMode::Mode3 && solved % 3 != 0) {
            continue;
          }
          const bool english = solved == 0 && mode == UartMode::Mode1;
          if (!WriteCase(dir, number++, Case{&target, crystals[i], rates[j], mode, setting, best, english}, manifest)) {
            std::cerr << "target_code_cases: cannot write case " << number << " in " << dir << "\n";
            return false;
          }
        }
        ++solved;
      }
    }
    ++targetIndex;
  }
  return true;
}

struct PlanRequest {
  std::string_view family;
  std::string_view crystal;
  UartMode mode;
  std::vector<std::pair<std::string_view, std::string_view>> uarts;  // UART, rate
  bool english = false;                                              // written in English as well
};

// Plans of several UARTs of one chip: different rates on their own timers,
// equal rates that may share one, and the UARTs asked out of order.
const std::vector<PlanRequest>& PlanRequests() {
  static const std::vector<PlanRequest> plans = {
      {"stc8",
       "22.1184MHz",
       UartMode::Mode1,
       {{"UART1", "115200"}, {"UART2", "9600"}, {"UART3", "57600"}, {"UART4", "19200"}},
       true},
      {"stc8",
       "11.0592MHz",
       UartMode::Mode3,
       {{"UART1", "115200"}, {"UART2", "115200"}, {"UART3", "115200"}, {"UART4", "115200"}}},
      {"stc15", "11.0592MHz", UartMode::Mode1, {{"UART3", "9600"}, {"UART2", "9600"}}},
      {"n76e003", "16MHz", UartMode::Mode1, {{"UART0", "9600"}, {"UART1", "38400"}}},
      {"ms51", "24MHz", UartMode::Mode1, {{"UART0", "115200"}, {"UART1", "115200"}}},
      {"n76e003", "16MHz", UartMode::Mode3, {{"UART1", "110"}, {"UART0", "110"}}, true},
      {"ch552", "24MHz", UartMode::Mode1, {{"UART0", "115200"}, {"UART1", "9600"}}, true},
      {"ch554", "12MHz", UartMode::Mode3, {{"UART1", "4800"}, {"UART0", "19200"}}},
      {"stc12", "11.0592MHz", UartMode::Mode1, {{"UART1", "9600"}, {"UART2", "115200"}}},
      {"stc12", "22.1184MHz", UartMode::Mode1, {{"UART2", "57600"}, {"UART1", "57600"}}, true},
      // The EFM8BB3: UART0 on Timer 1, UART1 on its own generator (prescaler 4 at 110 bps).
      {"efm8bb3", "24.5MHz", UartMode::Mode1, {{"UART1", "115200"}, {"UART0", "9600"}}, true},
      {"efm8bb3", "24.5MHz", UartMode::Mode3, {{"UART0", "115200"}, {"UART1", "110"}}},
  };
  return plans;
}

bool WritePlans(const std::string& dir, std::ostream& manifest) {
  std::size_t number = 0;
  for (const PlanRequest& p : PlanRequests()) {
    const std::vector<const BaudTarget*> chip = FindFamilyTargets(p.family);
    const std::optional<TargetInputs> inputs = ReadTargetInputs(p.crystal, "9600");
    std::vector<UartRequest> requests;
    requests.reserve(p.uarts.size());
    for (const auto& [uart, baud] : p.uarts) {
      requests.push_back(UartRequest{std::string(uart), std::stoi(std::string(baud)), std::string(baud)});
    }
    const PlanResult result = PlanUarts(chip, *inputs, requests, 1.0);
    const GeneratedInitCode code = result.plan ? GeneratePlanCode(*result.plan, *inputs, p.mode) : GeneratedInitCode{};
    if (code.outcome != GenerationOutcome::Code) {
      std::cerr << "target_code_cases: the " << p.family << " plan at " << p.crystal << " gives no code\n";
      return false;
    }
    const std::string stem = Stem("plan_", number++);
    if (!WriteBoth(dir, stem, code.text)) {
      return false;
    }
    if (p.english &&
        !WriteEnglish(dir, stem, GeneratePlanCode(*result.plan, *inputs, p.mode, Language::English).text)) {
      return false;
    }
    nlohmann::ordered_json uarts = nlohmann::ordered_json::array();
    for (const PlannedUart& planned : result.plan->uarts) {
      nlohmann::ordered_json uart = SettingJson(*planned.target, planned.setting);
      uart["baud"] = planned.request.baudText;
      uarts.push_back(uart);
    }
    const nlohmann::ordered_json line = {{"stem", stem},         {"family", p.family},
                                         {"crystal", p.crystal}, {"mode", p.mode == UartMode::Mode3 ? 3 : 1},
                                         {"english", p.english}, {"uarts", uarts}};
    manifest << line.dump() << "\n";
  }
  return true;
}

int Run(const std::string& dir) {
  std::ofstream cases(dir + "/cases.jsonl", std::ios::binary);
  std::ofstream plans(dir + "/plans.jsonl", std::ios::binary);
  if (!WriteTargetCases(dir, cases) || !WritePlans(dir, plans)) {
    return 1;
  }
  return cases && plans ? 0 : 1;
}

}  // namespace
}  // namespace tesmirol

int main(int argc, char** argv) {
  try {
    if (argc != 2) {
      std::cerr << "usage: target_code_cases DIR\n";
      return 2;
    }
    return tesmirol::Run(argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "target_code_cases: " << error.what() << "\n";
    return 1;
  }
}
