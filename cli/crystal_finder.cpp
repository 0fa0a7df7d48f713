#include "cli/crystal_finder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/link_report.h"
#include "cli/plan_texts.h"
#include "cli/table_output.h"
#include "cli/target_report.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"
#include "engine/exact_crystal.h"
#include "engine/link_check.h"
#include "engine/reload_text.h"
#include "engine/target_solver.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

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
  std::optional<Fraction> exactRate;  // the rate worked out exactly, for the link check
  std::optional<LinkOutcome> link;    // with --peer
};

// One crystal that gives every rate, and how its links fare.
struct CrystalRow {
  InputText crystal;
  std::vector<RateFit> fits;
  answers::LinkRank rank;  // the worst of its rates' links
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
  const auto crystalHz = ReadExactCrystal(crystal.gbk);
  const auto exact = crystalHz ? ClassicTimer1Rate(*crystalHz, static_cast<std::uint32_t>(mode.reload),
                                                   static_cast<std::uint32_t>(choice.smod))
                               : std::nullopt;
  return RateFit{
      baud,           "",    "",          12, static_cast<std::uint32_t>(choice.smod), FormatReload(mode.reload),
      mode.deviation, exact, std::nullopt};
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
                 best->best.deviation,
                 Fraction{best->best.achievedNumerator, best->best.achievedDenominator},
                 std::nullopt};
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

// The link's verdict and this clock's largest tolerance as JSON.
nlohmann::ordered_json LinkSummaryJson(LinkVerdict verdict, std::optional<std::uint32_t> maxOwnTolerancePpm) {
  return {{"verdict", LinkVerdictName(verdict)},
          {"maxOwnTolerancePpm",
           maxOwnTolerancePpm ? nlohmann::ordered_json(*maxOwnTolerancePpm) : nlohmann::ordered_json()}};
}

// One rate's link: its verdict (Fails when the peer cannot run near it or
// there is no exact rate to check) and the largest tolerance.
LinkVerdict FitVerdict(const RateFit& fit) {
  return fit.link ? answers::AnswerVerdict(*fit.link).value_or(LinkVerdict::Fails) : LinkVerdict::Fails;
}

std::optional<std::uint32_t> FitMaxTolerance(const RateFit& fit) {
  return fit.link && fit.link->check ? fit.link->check->maxOwnTolerancePpm : std::nullopt;
}

void AppendText(std::string& text, const CrystalRow& row, bool withLink, Language language) {
  text += row.crystal.utf8;
  for (const RateFit& fit : row.fits) {
    text += "  " + std::to_string(fit.baud) + ": ";
    text += fit.target.empty() ? "" : fit.target + " " + fit.clock + " ";
    text += "SMOD=" + std::to_string(fit.smod) + " " + fit.reloadText + " " + FormatDeviation(fit.deviation) + "%";
  }
  if (withLink) {
    const std::string gbk = FinderLinkText(row.rank.verdict, row.rank.maxOwnTolerancePpm, language);
    text += text::GbkToUtf8(gbk).value_or(gbk);
  }
  text += '\n';
}

void AppendCsv(std::string& text, const CrystalRow& row, bool withLink) {
  for (const RateFit& fit : row.fits) {
    text += CsvField(row.crystal.utf8) + "," + std::to_string(fit.baud) + "," + fit.target + "," +
            (fit.target.empty() ? "" : std::to_string(fit.clocksPerCycle)) + "," + std::to_string(fit.smod) + "," +
            fit.reloadText + "," + FormatDeviation(fit.deviation);
    if (withLink) {
      const auto maxTolerance = FitMaxTolerance(fit);
      text += ',';
      text += LinkVerdictName(FitVerdict(fit));
      text += ',';
      if (maxTolerance) {
        text += std::to_string(*maxTolerance);
      }
    }
    text += "\n";
  }
}

nlohmann::ordered_json FitsJson(const CrystalRow& row, bool withLink) {
  nlohmann::ordered_json rates = nlohmann::ordered_json::array();
  std::transform(row.fits.begin(), row.fits.end(), std::back_inserter(rates), [withLink](const RateFit& fit) {
    nlohmann::ordered_json rate{
        {"baud", fit.baud},
        {"target", fit.target.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(fit.target)},
        {"clocksPerCycle", fit.target.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(fit.clocksPerCycle)},
        {"smod", fit.smod},
        {"reloadText", fit.reloadText},
        {"deviation", fit.deviation},
        {"deviationText", FormatDeviation(fit.deviation)}};
    if (withLink) {
      rate["link"] = LinkSummaryJson(FitVerdict(fit), FitMaxTolerance(fit));
    }
    return rate;
  });
  nlohmann::ordered_json object{{"crystal", row.crystal.utf8}, {"rates", std::move(rates)}};
  if (withLink) {
    object["link"] = LinkSummaryJson(row.rank.verdict, row.rank.maxOwnTolerancePpm);
  }
  return object;
}

// Each rate's link on the crystal, and how the crystal's links fare.
void CheckRowLinks(CrystalRow& row, const LinkRequest& request) {
  std::vector<LinkOutcome> links;
  for (RateFit& fit : row.fits) {
    fit.link = CheckLinkAt(request, answers::OwnRate{fit.exactRate, !fit.exactRate}, fit.baud);
    links.push_back(*fit.link);
  }
  row.rank = answers::RankOfLinks(links);
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
                               double tolerancePercent, TableFormat format, const std::optional<LinkRequest>& link,
                               Language language) {
  ChunkedOutput output(out);
  std::string& text = output.Text();
  if (format == TableFormat::Csv) {
    text += "crystal,baud,target,clocks_per_cycle,smod,reload,deviation";
    text += link ? ",link,max_clock_tolerance_ppm\n" : "\n";
  } else if (format == TableFormat::Json) {
    text += '[';
  }
  std::vector<CrystalRow> rows;
  for (const InputText& crystal : crystals) {
    auto fits = CrystalFits(crystal, rates, targets, tolerancePercent);
    if (!fits) {
      continue;
    }
    CrystalRow row{crystal, std::move(*fits), {}};
    if (link) {
      CheckRowLinks(row, *link);
    }
    rows.push_back(std::move(row));
  }
  if (link) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CrystalRow& a, const CrystalRow& b) { return answers::RanksBefore(a.rank, b.rank); });
  }
  std::size_t found = 0;
  for (const CrystalRow& row : rows) {
    if (format == TableFormat::Json) {
      text += found == 0 ? "\n  " : ",\n  ";
      text += FitsJson(row, link.has_value()).dump();
    } else if (format == TableFormat::Csv) {
      AppendCsv(text, row, link.has_value());
    } else {
      AppendText(text, row, link.has_value(), language);
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
