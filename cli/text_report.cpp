#include "cli/text_report.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "engine/texts.h"

namespace tesmirol::cli {
namespace {

// One SMOD setting on one line: reload or range verdict, achieved rate and
// deviation, with the mark where the dialog would turn the deviation red.
std::string ModeLine(Language language, std::size_t smod, const ModeResult& mode) {
  std::string line = "SMOD=" + std::to_string(smod) + "  ";
  switch (mode.status) {
    case ModeStatus::TooLow:
      line += Text(language, TextKey::ReportTooLow);
      break;
    case ModeStatus::TooHigh:
      line += Text(language, TextKey::ReportTooHigh);
      break;
    case ModeStatus::Ok:
      line += "TH = " + FormatReload(mode.reload);
      break;
  }
  line += "  ";
  line += Text(language, TextKey::ReportAchieved);
  line += std::to_string(mode.achieved) + "bps  ";
  line += Text(language, TextKey::ReportDeviation);
  line += FormatDeviation(mode.deviation) + "%";
  if (IsOutOfTolerance(mode)) {
    line += Text(language, TextKey::ReportOutOfTolerance);
  }
  line += '\n';
  return line;
}

}  // namespace

std::string FormatTextReport(const BaudCalculation& calculation, const GeneratedInitCode& generated,
                             Language language) {
  std::string report;
  report += Text(language, TextKey::ReportSelectedCrystal);
  report += std::to_string(calculation.crystalHz) + " Hz\n";
  report += Text(language, TextKey::ReportMinimum);
  report += std::to_string(calculation.minBps) + "bps  ";
  report += Text(language, TextKey::ReportMaximum);
  report += std::to_string(calculation.maxBps) + "bps\n";
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    report += ModeLine(language, smod, calculation.mode.at(smod));
  }

  // The output box's text follows after a blank line; the code keeps its CRLF
  // line ends so that it can be cut out as the file it will become.
  switch (generated.outcome) {
    case GenerationOutcome::Nothing:
      break;
    case GenerationOutcome::Warning:
      report += '\n';
      report += generated.text;
      report += '\n';
      break;
    case GenerationOutcome::Code:
      report += '\n';
      report += generated.text;
      break;
  }
  return report;
}

}  // namespace tesmirol::cli
