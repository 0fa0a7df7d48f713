#include "cli/crystal_finder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/plan_texts.h"
#include "cli/table_output.h"
#include "cli/target_report.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"
#include "engine/exact_crystal.h"
#include "engine/reload_text.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"

namespace tesmirol::cli {
namespace {

// The setting one rate gets on one crystal.
struct RateFit {
  std::int32_t baud = 0;
  std::string target;  // empty: the dialog's calculation
  std::string clock;   // the target's clock choice ("1T", "/4"); empty for the dialog's
  std::uint32_t clocksPerCycle = 12;
  std::uint32_t smod = 0;
  std::string reloadText;
  double deviation = 0.0;
};

// The dialog's choice, when it writes code within the tolerance.
std::optional<RateFit> DialogFit(const InputText& crystal, std::int32_t baud, double tolerance) {
  const auto calculation = CalculateBaud(crystal.gbk, std::to_string(baud));
  if (!calculation) {
    return std::nullopt;
  }
  const InitCodeChoice choice = ChooseInitCodeSetting(*calculation);
  if (choice.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  const ModeResult& mode = calculation->mode.at(choice.smod);
  if (mode.deviationAbs > tolerance) {
    return std::nullopt;
  }
  return RateFit{baud, "", "", 12, static_cast<std::uint32_t>(choice.smod), FormatReload(mode.reload), mode.deviation};
}

// The best target's setting, when it is within the tolerance.
std::optional<RateFit> TargetFit(const InputText& crystal, std::int32_t baud,
                                 const std::vector<const BaudTarget*>& targets, double tolerance) {
  const auto inputs = ReadTargetInputs(crystal.gbk, std::to_string(baud));
  if (!inputs) {
    return std::nullopt;
  }
  const FamilySolution family = SolveTargets(targets, *inputs);
  const TargetSolution* best = BestSolution(family);
  if (best == nullptr || std::fabs(best->best.deviation) > tolerance) {
    return std::nullopt;
  }
  return RateFit{baud,
                 best->target->name,
                 ClockChoiceText(*best->target, best->best.clockIndex),
                 best->best.clocksPerCycle,
                 best->best.smod,
                 TargetReloadText(*best->target, best->best.reload),
                 best->best.deviation};
}

// Every rate's fit on the crystal, or nothing when one does not fit.
std::optional<std::vector<RateFit>> CrystalFits(const InputText& crystal, std::span<const std::int32_t> rates,
                                                const std::vector<const BaudTarget*>& targets, double tolerance) {
  std::vector<RateFit> fits;
  for (const std::int32_t baud : rates) {
    auto fit = targets.empty() ? DialogFit(crystal, baud, tolerance) : TargetFit(crystal, baud, targets, tolerance);
    if (!fit) {
      return std::nullopt;
    }
    fits.push_back(std::move(*fit));
  }
  return fits;
}

void AppendText(std::string& text, const InputText& crystal, const std::vector<RateFit>& fits) {
  text += crystal.utf8;
  for (const RateFit& fit : fits) {
    text += "  " + std::to_string(fit.baud) + ": ";
    text += fit.target.empty() ? "" : fit.target + " " + fit.clock + " ";
    text += "SMOD=" + std::to_string(fit.smod) + " " + fit.reloadText + " " + FormatDeviation(fit.deviation) + "%";
  }
  text += '\n';
}

void AppendCsv(std::string& text, const InputText& crystal, const std::vector<RateFit>& fits) {
  for (const RateFit& fit : fits) {
    text += CsvField(crystal.utf8) + "," + std::to_string(fit.baud) + "," + fit.target + "," +
            (fit.target.empty() ? "" : std::to_string(fit.clocksPerCycle)) + "," + std::to_string(fit.smod) + "," +
            fit.reloadText + "," + FormatDeviation(fit.deviation) + "\n";
  }
}

nlohmann::ordered_json FitsJson(const InputText& crystal, const std::vector<RateFit>& fits) {
  nlohmann::ordered_json rates = nlohmann::ordered_json::array();
  std::transform(fits.begin(), fits.end(), std::back_inserter(rates), [](const RateFit& fit) {
    return nlohmann::ordered_json{
        {"baud", fit.baud},
        {"target", fit.target.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(fit.target)},
        {"clocksPerCycle", fit.target.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(fit.clocksPerCycle)},
        {"smod", fit.smod},
        {"reloadText", fit.reloadText},
        {"deviation", fit.deviation},
        {"deviationText", FormatDeviation(fit.deviation)}};
  });
  return {{"crystal", crystal.utf8}, {"rates", std::move(rates)}};
}

}  // namespace

std::vector<InputText> DistinctCrystals(std::span<const InputText> crystals) {
  std::vector<InputText> distinct;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> frequencies;  // of the crystals kept that read exactly
  for (const InputText& crystal : crystals) {
    if (const auto frequency = ReadExactCrystal(crystal.gbk)) {
      const std::pair<std::uint64_t, std::uint64_t> exact{frequency->numerator, frequency->denominator};
      if (std::find(frequencies.begin(), frequencies.end(), exact) != frequencies.end()) {
        continue;
      }
      frequencies.push_back(exact);
    } else if (std::any_of(distinct.begin(), distinct.end(),
                           [&crystal](const InputText& kept) { return kept.gbk == crystal.gbk; })) {
      continue;
    }
    distinct.push_back(crystal);
  }
  return distinct;
}

std::size_t WriteCrystalFinder(std::ostream& out, std::span<const InputText> crystals,
                               std::span<const std::int32_t> rates, const std::vector<const BaudTarget*>& targets,
                               double tolerancePercent, TableFormat format) {
  ChunkedOutput output(out);
  std::string& text = output.Text();
  std::size_t found = 0;
  if (format == TableFormat::Csv) {
    text += "crystal,baud,target,clocks_per_cycle,smod,reload,deviation\n";
  } else if (format == TableFormat::Json) {
    text += '[';
  }
  for (const InputText& crystal : crystals) {
    const auto fits = CrystalFits(crystal, rates, targets, tolerancePercent);
    if (!fits) {
      continue;
    }
    if (format == TableFormat::Json) {
      text += found == 0 ? "\n  " : ",\n  ";
      text += FitsJson(crystal, *fits).dump();
    } else if (format == TableFormat::Csv) {
      AppendCsv(text, crystal, *fits);
    } else {
      AppendText(text, crystal, *fits);
    }
    ++found;
    output.EndRow();
  }
  if (format == TableFormat::Json) {
    text += found == 0 ? "]\n" : "\n]\n";
  }
  output.Flush();
  return found;
}

}  // namespace tesmirol::cli
