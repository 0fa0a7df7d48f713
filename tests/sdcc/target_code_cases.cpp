// Writes the generated SIO_Init of every catalogue target for a spread of the
// preset pairs, in GBK and in UTF-8, and one line of JSON per file with what
// the solver chose, for the SDCC and simulator tests to check.
//
// Usage: target_code_cases DIR
// Each target gets the pairs (crystal i, rate j) of the first eight crystal
// presets with (i + j + target) % 5 == 0, so that together the targets cover
// every rate and crystal of that spread; every solved pair is written in
// UART mode 1, and every third one in mode 3 as well.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "codegen/target_init_code.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
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

struct Case {
  const BaudTarget* target;
  std::string_view crystal;
  std::string_view baud;
  UartMode mode;
};

// Writes one case's two files and its manifest line; false when a file could
// not be written or the text is not GBK.
bool WriteCase(const std::string& dir, std::size_t number, const Case& c, const TargetSolution& solution,
               std::ostream& manifest) {
  const std::optional<TargetInputs> inputs = ReadTargetInputs(c.crystal, c.baud);
  const TargetCodeRequest request{c.target, solution.best, inputs->crystalText, inputs->baudText, c.mode};
  const std::string gbk = GenerateTargetInitCode(request);
  const std::optional<std::string> utf8 = text::GbkToUtf8(gbk);
  const std::string digits = std::to_string(number);
  const std::string stem = "case_" + std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
  if (!utf8 || !WriteFile(dir + "/" + stem + "_gbk.c", gbk) || !WriteFile(dir + "/" + stem + "_utf8.c", *utf8)) {
    return false;
  }
  const BaudTarget& t = *c.target;
  const TargetSetting& s = solution.best;
  const nlohmann::ordered_json line = {
      {"stem", stem},
      {"target", t.name},
      {"generator", GeneratorKindName(t.generator)},
      {"clock", ClockSelectName(t.clockSelect)},
      {"clockFast", t.clockFast},
      {"clocksPerCycle", t.clocksPerCycle},
      {"crystal", c.crystal},
      {"baud", c.baud},
      {"mode", c.mode == UartMode::Mode3 ? 3 : 1},
      {"smod", s.smod},
      {"reload", s.reload},
      {"numerator", s.achievedNumerator},
      {"denominator", s.achievedDenominator},
  };
  manifest << line.dump() << "\n";
  return true;
}

int Run(const std::string& dir) {
  std::ofstream manifest(dir + "/cases.jsonl", std::ios::binary);
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
        for (const UartMode mode : {UartMode::Mode1, UartMode::Mode3}) {
          if (mode == UartMode::Mode3 && solved % 3 != 0) {
            continue;
          }
          if (!WriteCase(dir, number++, Case{&target, crystals[i], rates[j], mode}, *solution, manifest)) {
            std::cerr << "target_code_cases: cannot write case " << number << " in " << dir << "\n";
            return 1;
          }
        }
        ++solved;
      }
    }
    ++targetIndex;
  }
  return manifest ? 0 : 1;
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
