#include "cli/crystal_finder.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

#include "answers/rates_finder_answer.h"
#include "answers/rates_finder_json.h"
#include "cli/link_report.h"
#include "cli/table_output.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

using answers::CrystalFit;
using answers::RateFit;

void AppendText(std::string& text, const CrystalFit& row, const InputText& crystal, bool withLink, Language language) {
  text += crystal.utf8;
  for (const RateFit& fit : row.rates) {
    text += "  " + std::to_string(fit.baud) + ": ";
    text += fit.target == nullptr ? "" : fit.target->name + " " + ClockChoiceText(*fit.target, fit.clockIndex) + " ";
    text += "SMOD=" + std::to_string(fit.smod) + " " + fit.reloadText + " " + FormatDeviation(fit.deviation) + "%";
  }
  if (withLink) {
    const std::string gbk = FinderLinkText(row.rank.verdict, row.rank.maxOwnTolerancePpm, language);
    text += text::GbkToUtf8(gbk).value_or(gbk);
  }
  text += '\n';
}

void AppendCsv(std::string& text, const CrystalFit& row, const InputText& crystal, bool withLink) {
  for (const RateFit& fit : row.rates) {
    text += CsvField(crystal.utf8) + "," + std::to_string(fit.baud) + "," +
            (fit.target == nullptr ? "" : fit.target->name) + "," +
            (fit.target == nullptr ? "" : std::to_string(fit.clocksPerCycle)) + "," + std::to_string(fit.smod) + "," +
            fit.reloadText + "," + FormatDeviation(fit.deviation);
    if (withLink) {
      const auto maxTolerance = fit.MaxOwnTolerancePpm();
      text += ',';
      text += LinkVerdictName(fit.Verdict());
      text += ',';
      if (maxTolerance) {
        text += std::to_string(*maxTolerance);
      }
    }
    text += "\n";
  }
}

}  // namespace

std::size_t WriteCrystalFinder(std::ostream& out, std::span<const InputText> crystals,
                               std::span<const std::int32_t> rates, const std::vector<const BaudTarget*>& targets,
                               double tolerancePercent, TableFormat format, const std::optional<LinkRequest>& link,
                               Language language) {
  std::vector<std::string_view> gbk(crystals.size());
  std::transform(crystals.begin(), crystals.end(), gbk.begin(),
                 [](const InputText& crystal) { return std::string_view(crystal.gbk); });
  const std::optional<answers::LinkAsk> ask = link ? std::optional(LinkAskOf(*link)) : std::nullopt;
  const answers::RatesFinderAnswer answer =
      answers::AnswerRatesFinder(gbk, rates, targets, tolerancePercent, ask ? &*ask : nullptr);

  ChunkedOutput output(out);
  std::string& text = output.Text();
  if (format == TableFormat::Csv) {
    text += "crystal,baud,target,clocks_per_cycle,smod,reload,deviation";
    text += link ? ",link,max_clock_tolerance_ppm\n" : "\n";
  } else if (format == TableFormat::Json) {
    text += '[';
  }
  std::size_t found = 0;
  for (const CrystalFit& row : answer.crystals) {
    const InputText& crystal = crystals[row.crystal];
    if (format == TableFormat::Json) {
      // One compact object a line, for grep and diff.
      answers::JsonWriter json(answers::JsonFace::CommandLine);
      answers::WriteCrystalFit(json, row, crystal.utf8, answer.linked);
      text += found == 0 ? "\n  " : ",\n  ";
      text += json.Text();
    } else if (format == TableFormat::Csv) {
      AppendCsv(text, row, crystal, answer.linked);
    } else {
      AppendText(text, row, crystal, answer.linked, language);
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
