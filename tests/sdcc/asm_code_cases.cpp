// Writes, for every catalogue target and each clock choice and doubling bit
// its best setting offers at a few crystals and rates, the C init function
// of the polled driver (reception on, interrupt off) and the assembly text
// of the same setting in both syntaxes, with one line of JSON per case, for
// the assembly test to compare them in the s51 simulator.
//
// Usage: asm_code_cases DIR
// Files: asm_NNNN.c (GBK), asm_NNNN_a51.asm, asm_NNNN_sdas.asm; manifest
// asm_cases.jsonl. Each target also gets one case in UART mode 3.

#include <algorithm>
#include <array>
#include <cstddef>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

namespace tesmirol {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kPairs = {
    {{"11.0592MHz", "9600"}, {"22.1184MHz", "115200"}, {"24MHz", "19200"}, {"16MHz", "4800"}, {"12MHz", "2400"}}};

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

std::string Stem(std::size_t number) {
  const std::string digits = std::to_string(number);
  return "asm_" + std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
}

bool WriteCase(const std::string& dir, std::size_t number, const TargetCodeRequest& request, std::ostream& manifest) {
  const std::string stem = Stem(number);
  TargetCodeRequest polled = request;
  polled.enableInterrupt = false;
  if (!WriteFile(dir + "/" + stem + ".c", GenerateTargetInitCode(polled)) ||
      !WriteFile(dir + "/" + stem + "_a51.asm", GenerateAsmDriver({&request, 1}, AsmSyntax::A51)) ||
      !WriteFile(dir + "/" + stem + "_sdas.asm", GenerateAsmDriver({&request, 1}, AsmSyntax::Sdas))) {
    return false;
  }
  const BaudTarget& target = *request.target;
  const AsmFunctionNames names = AsmFunctionNamesOf(target, AsmSyntax::Sdas);
  const nlohmann::ordered_json line = {
      {"stem", stem},
      {"target", target.name},
      {"uart", target.uart},
      {"function", target.function.empty() ? "SIO_Init" : target.function},
      {"init", names.init},
      {"send", names.send},
      {"receive", names.receive},
      {"generator", GeneratorKindName(target.generator)},
      {"clockIndex", request.setting.clockIndex},
      {"smod", request.setting.smod},
      {"crystal", request.crystalText},
      {"baud", request.baudText},
      {"mode", request.uartMode == UartMode::Mode3 ? 3 : 1},
  };
  manifest << line.dump() << "\n";
  return true;
}

int Run(const std::string& dir) {
  std::ofstream manifest(dir + "/asm_cases.jsonl", std::ios::binary);
  std::size_t number = 0;
  for (const BaudTarget& target : BaudTargets()) {
    if (!AsmCoversTarget(target)) {
      continue;
    }
    std::set<std::pair<std::uint32_t, std::uint32_t>> seen;  // clock index, doubling bit
    for (const auto& [crystal, baud] : kPairs) {
      const std::optional<TargetSolution> solution = SolveTarget(target, crystal, baud);
      const std::optional<TargetInputs> inputs = ReadTargetInputs(crystal, baud);
      if (!solution || solution->status != TargetStatus::Ok || !inputs) {
        continue;
      }
      for (std::size_t i = 0; i < solution->modeCount; ++i) {
        const TargetModeResult& mode = solution->modes.at(i);
        if (mode.status != TargetStatus::Ok || mode.triedCount == 0) {
          continue;
        }
        const TargetSetting& setting = mode.tried.at(mode.bestTried);
        if (!seen.insert({setting.clockIndex, setting.smod}).second) {
          continue;
        }
        const UartMode uartMode = seen.size() == 1 ? UartMode::Mode3 : UartMode::Mode1;
        TargetCodeRequest request{&target, setting, inputs->crystalText, inputs->baudText, uartMode};
        if (target.generator == GeneratorKind::CcUsart && uartMode == UartMode::Mode3) {
          // The CC253x USART's mode-3 frame is 8N2 (UxUCR.SPB): it has no ninth bit.
          request.frame = SerialFrame{8, Parity::None, 2};
        }
        if (!WriteCase(dir, number++, request, manifest)) {
          std::cerr << "asm_code_cases: cannot write in " << dir << "\n";
          return 1;
        }
      }
    }
  }
  return manifest ? 0 : 1;
}

}  // namespace
}  // namespace tesmirol

int main(int argc, char** argv) {
  try {
    if (argc != 2) {
      std::cerr << "usage: asm_code_cases DIR\n";
      return 2;
    }
    return tesmirol::Run(argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "asm_code_cases: " << error.what() << "\n";
    return 1;
  }
}
