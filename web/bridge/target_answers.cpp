#include "web/bridge/target_answers.h"

#include <cstddef>

#include "cli/report_texts.h"
#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/deviation_text.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"
#include "res/preset_lists.h"
#include "text/encoding.h"
#include "web/bridge/json_writer.h"

namespace tesmirol::web {
namespace {

std::string Utf8(std::string_view gbk) { return text::GbkToUtf8(gbk).value_or(std::string()); }

void WriteSetting(JsonWriter& json, const BaudTarget& target, const TargetSetting& setting) {
  json.BeginObject();
  json.Key("smod");
  json.Int(setting.smod);
  json.Key("reload");
  json.Int(setting.reload);
  json.Key("reloadText");
  json.String(TargetReloadText(target, setting.reload));
  json.Key("reloadLabel");
  json.String(ReloadRegisterLabel(target));
  json.Key("divisor");
  json.String(std::to_string(setting.divisor));
  json.Key("achievedNumerator");
  json.String(std::to_string(setting.achievedNumerator));
  json.Key("achievedDenominator");
  json.String(std::to_string(setting.achievedDenominator));
  json.Key("achieved");
  json.DoubleBits(setting.achieved);
  json.Key("achievedText");
  json.String(FractionText(setting.achievedNumerator, setting.achievedDenominator));
  json.Key("deviation");
  json.DoubleBits(setting.deviation);
  json.Key("deviationText");
  json.String(FormatDeviation(setting.deviation));
  json.Key("outOfTolerance");
  json.Bool(!IsWithinTolerance(setting));
  json.EndObject();
}

void WriteModes(JsonWriter& json, const TargetSolution& solution) {
  json.BeginArray();
  for (std::size_t smod = 0; smod < solution.modeCount; ++smod) {
    const TargetModeResult& mode = solution.modes.at(smod);
    json.BeginObject();
    json.Key("smod");
    json.Int(static_cast<std::int64_t>(smod));
    json.Key("status");
    json.String(TargetStatusName(mode.status));
    json.Key("tried");
    json.BeginArray();
    for (std::size_t i = 0; i < mode.triedCount; ++i) {
      WriteSetting(json, *solution.target, mode.tried.at(i));
    }
    json.EndArray();
    json.Key("bestTried");
    if (mode.triedCount > 0) {
      json.Int(static_cast<std::int64_t>(mode.bestTried));
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
}

void WriteSolution(JsonWriter& json, const TargetSolution& solution, const TargetInputs& inputs) {
  json.BeginObject();
  json.Key("target");
  json.String(solution.target->name);
  json.Key("crystalText");
  json.String(Utf8(inputs.crystalText));
  json.Key("baudText");
  json.String(Utf8(inputs.baudText));
  json.Key("baud");
  json.Int(inputs.baud);
  json.Key("crystalNumerator");
  json.String(std::to_string(inputs.frequency.numerator));
  json.Key("crystalDenominator");
  json.String(std::to_string(inputs.frequency.denominator));
  json.Key("crystalHzText");
  json.String(FractionText(inputs.frequency.numerator, inputs.frequency.denominator));
  json.Key("status");
  json.String(TargetStatusName(solution.status));
  json.Key("minRate");
  json.DoubleBits(solution.minRate);
  json.Key("maxRate");
  json.DoubleBits(solution.maxRate);
  json.Key("modes");
  WriteModes(json, solution);
  json.Key("best");
  if (solution.status == TargetStatus::Ok) {
    WriteSetting(json, *solution.target, solution.best);
  } else {
    json.Null();
  }
  json.EndObject();
}

// The texts as GBK and the target, or the status that says which is wrong.
struct TargetRequest {
  std::string_view problem;  // empty when everything was found
  std::optional<TargetInputs> inputs;
  const BaudTarget* target = nullptr;
};

TargetRequest ReadRequest(std::u16string_view crystal, std::u16string_view baud, std::u16string_view name) {
  const std::optional<std::string> crystalGbk = text::Utf16ToGbk(crystal);
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  const std::optional<std::string> nameGbk = text::Utf16ToGbk(name);
  TargetRequest request;
  request.target = nameGbk ? FindBaudTarget(*nameGbk) : nullptr;
  if (request.target == nullptr) {
    request.problem = "unknownTarget";
  } else if (!crystalGbk) {
    request.problem = "crystalNotGbk";
  } else if (!baudGbk) {
    request.problem = "baudNotGbk";
  } else {
    request.inputs = ReadTargetInputs(*crystalGbk, *baudGbk);
    request.problem = request.inputs ? "" : "noResult";
  }
  return request;
}

// One row of the crystal finder on a target: each SMOD setting's best
// neighbour and the outcome of the best setting.
void WriteFinderRow(JsonWriter& json, const BaudTarget& target, std::string_view crystal, std::string_view baudGbk) {
  const std::optional<TargetInputs> inputs = ReadTargetInputs(crystal, baudGbk);
  json.BeginObject();
  json.Key("crystal");
  json.String(crystal);  // the presets are ASCII
  json.Key("status");
  if (!inputs) {
    json.Null();
    json.EndObject();
    return;
  }
  const TargetSolution solution = SolveTarget(target, *inputs);
  json.String(TargetStatusName(solution.status));
  json.Key("modes");
  json.BeginArray();
  for (std::size_t smod = 0; smod < solution.modeCount; ++smod) {
    const TargetModeResult& mode = solution.modes.at(smod);
    json.BeginObject();
    json.Key("status");
    json.String(TargetStatusName(mode.status));
    if (mode.triedCount > 0) {
      const TargetSetting& setting = mode.tried.at(mode.bestTried);
      json.Key("reloadText");
      json.String(TargetReloadText(target, setting.reload));
      json.Key("achievedText");
      json.String(FractionText(setting.achievedNumerator, setting.achievedDenominator));
      json.Key("deviationText");
      json.String(FormatDeviation(setting.deviation));
      json.Key("outOfTolerance");
      json.Bool(!IsWithinTolerance(setting));
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("outcome");
  if (solution.status != TargetStatus::Ok) {
    json.String("Nothing");
  } else {
    json.String(IsWithinTolerance(solution.best) ? "Code" : "Warning");
    json.Key("chosenSmod");
    json.Int(solution.best.smod);
  }
  json.EndObject();
}

}  // namespace

std::string TargetsJson() {
  JsonWriter json;
  json.BeginArray();
  json.BeginObject();
  json.Key("name");
  json.String("classic");
  json.EndObject();
  for (const BaudTarget& target : BaudTargets()) {
    json.BeginObject();
    json.Key("name");
    json.String(target.name);
    json.Key("chips");
    json.String(target.chips);
    json.Key("families");
    json.BeginArray();
    for (const std::string& family : target.families) {
      json.String(family);
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  return json.Text();
}

std::string TargetSolutionJson(std::u16string_view crystal, std::u16string_view baud, std::u16string_view target) {
  const TargetRequest request = ReadRequest(crystal, baud, target);
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  if (!request.inputs) {
    json.String(request.problem);
  } else {
    const TargetSolution solution = SolveTarget(*request.target, *request.inputs);
    const GeneratedInitCode code = GenerateTargetCode(&solution, *request.inputs, UartMode::Mode1);
    json.String("ok");
    json.Key("solution");
    WriteSolution(json, solution, *request.inputs);
    json.Key("outcome");
    json.String(GenerationOutcomeName(code.outcome));
    json.Key("output");
    json.String(Utf8(code.text));
  }
  json.EndObject();
  return json.Text();
}

std::string TargetTableJson(std::u16string_view baud, std::u16string_view target) {
  const std::optional<std::string> baudGbk = text::Utf16ToGbk(baud);
  const std::optional<std::string> nameGbk = text::Utf16ToGbk(target);
  const BaudTarget* found = nameGbk ? FindBaudTarget(*nameGbk) : nullptr;
  if (!baudGbk || found == nullptr) {
    return "[]";
  }
  JsonWriter json;
  json.BeginArray();
  for (const std::string_view crystal : CrystalPresets()) {
    WriteFinderRow(json, *found, crystal, *baudGbk);
  }
  json.EndArray();
  return json.Text();
}

std::optional<std::string> TargetCodeBytes(std::u16string_view crystal, std::u16string_view baud,
                                           std::u16string_view target, CodeEncoding encoding, bool lineFeedsOnly) {
  const TargetRequest request = ReadRequest(crystal, baud, target);
  if (!request.inputs) {
    return std::nullopt;
  }
  const TargetSolution solution = SolveTarget(*request.target, *request.inputs);
  const GeneratedInitCode code = GenerateTargetCode(&solution, *request.inputs, UartMode::Mode1);
  if (code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return EncodeGeneratedCode(code.text, encoding, lineFeedsOnly);
}

}  // namespace tesmirol::web
