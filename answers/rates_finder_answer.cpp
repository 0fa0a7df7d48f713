#include "answers/rates_finder_answer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/exact_crystal.h"
#include "engine/reload_text.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {
namespace {

// The dialog's choice, when it writes code within the tolerance.
std::optional<RateFit> DialogFit(std::string_view crystal, std::int32_t baud, double tolerance, const LinkAsk* link) {
  const auto calculation = CalculateBaud(crystal, std::to_string(baud));
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
  RateFit fit;
  fit.baud = baud;
  fit.smod = static_cast<std::uint32_t>(choice.smod);
  fit.reloadText = FormatReload(mode.reload);
  fit.deviation = mode.deviation;
  if (link != nullptr) {
    const auto crystalHz = ReadExactCrystal(crystal);
    const auto exact =
        crystalHz ? ClassicTimer1Rate(*crystalHz, static_cast<std::uint32_t>(mode.reload), fit.smod) : std::nullopt;
    fit.link = CheckLinkAt(*link, OwnRate{exact, !exact}, baud);
  }
  return fit;
}

// The best target's setting, when it is within the tolerance.
std::optional<RateFit> TargetFit(std::string_view crystal, std::int32_t baud,
                                 std::span<const BaudTarget* const> targets, double tolerance, const LinkAsk* link) {
  const auto inputs = ReadTargetInputs(crystal, std::to_string(baud));
  if (!inputs) {
    return std::nullopt;
  }
  const FamilySolution family = SolveTargets(targets, *inputs);
  const TargetSolution* best = family.best ? &family.solutions.at(*family.best) : nullptr;
  if (best == nullptr || std::fabs(best->best.deviation) > tolerance) {
    return std::nullopt;
  }
  RateFit fit;
  fit.baud = baud;
  fit.target = best->target;
  fit.clockIndex = best->best.clockIndex;
  fit.clocksPerCycle = best->best.clocksPerCycle;
  fit.smod = best->best.smod;
  fit.reloadText = TargetReloadText(*best->target, best->best.reload);
  fit.deviation = best->best.deviation;
  if (link != nullptr) {
    fit.link = CheckLinkAt(*link, SettingOwnRate(&best->best), baud);
  }
  return fit;
}

// Every rate's fit on the crystal, or nothing when one does not fit.
std::optional<std::vector<RateFit>> CrystalFits(std::string_view crystal, std::span<const std::int32_t> rates,
                                                std::span<const BaudTarget* const> targets, double tolerance,
                                                const LinkAsk* link) {
  std::vector<RateFit> fits;
  for (const std::int32_t baud : rates) {
    auto fit = targets.empty() ? DialogFit(crystal, baud, tolerance, link)
                               : TargetFit(crystal, baud, targets, tolerance, link);
    if (!fit) {
      return std::nullopt;
    }
    fits.push_back(std::move(*fit));
  }
  return fits;
}

}  // namespace

LinkVerdict RateFit::Verdict() const noexcept {
  return link ? AnswerVerdict(*link).value_or(LinkVerdict::Fails) : LinkVerdict::Fails;
}

std::optional<std::uint32_t> RateFit::MaxOwnTolerancePpm() const noexcept {
  return link && link->check ? link->check->maxOwnTolerancePpm : std::nullopt;
}

std::vector<std::size_t> DistinctCrystals(std::span<const std::string_view> crystals) {
  std::vector<std::size_t> distinct;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> frequencies;  // of the crystals kept that read exactly
  for (std::size_t index = 0; index < crystals.size(); ++index) {
    const std::string_view crystal = crystals[index];
    if (const auto frequency = ReadExactCrystal(crystal)) {
      const std::pair<std::uint64_t, std::uint64_t> exact{frequency->numerator, frequency->denominator};
      if (std::find(frequencies.begin(), frequencies.end(), exact) != frequencies.end()) {
        continue;
      }
      frequencies.push_back(exact);
    } else if (std::any_of(distinct.begin(), distinct.end(),
                           [&](std::size_t kept) { return crystals[kept] == crystal; })) {
      continue;
    }
    distinct.push_back(index);
  }
  return distinct;
}

RatesFinderAnswer AnswerRatesFinder(std::span<const std::string_view> crystals, std::span<const std::int32_t> rates,
                                    std::span<const BaudTarget* const> targets, double tolerancePercent,
                                    const LinkAsk* link) {
  RatesFinderAnswer answer;
  answer.linked = link != nullptr;
  for (const std::size_t index : DistinctCrystals(crystals)) {
    auto fits = CrystalFits(crystals[index], rates, targets, tolerancePercent, link);
    if (!fits) {
      continue;
    }
    CrystalFit crystal{index, std::move(*fits), {}};
    if (link != nullptr) {
      std::vector<LinkAnswer> links(crystal.rates.size());
      std::transform(crystal.rates.begin(), crystal.rates.end(), links.begin(),
                     [](const RateFit& fit) { return *fit.link; });
      crystal.rank = RankOfLinks(links);
    }
    answer.crystals.push_back(std::move(crystal));
  }
  if (link != nullptr) {
    std::stable_sort(answer.crystals.begin(), answer.crystals.end(),
                     [](const CrystalFit& a, const CrystalFit& b) { return RanksBefore(a.rank, b.rank); });
  }
  return answer;
}

}  // namespace tesmirol::answers
