#include "cli/reload_report.h"

#include <cstddef>

#include "engine/deviation_text.h"
#include "engine/reload_text.h"
#include "engine/texts.h"

namespace tesmirol::cli {

std::string FormatReloadReport(const ReloadRates& rates, std::span<const ModeResult> compared, Language language) {
  std::string report;
  report += Text(language, TextKey::ReportSelectedCrystal);
  report += std::to_string(rates.crystalHz) + " Hz\n";
  report += "TH1 = " + FormatReload(rates.reload) + " (" + std::to_string(rates.reload) + ")\n";
  for (std::size_t smod = 0; smod < rates.achieved.size(); ++smod) {
    report += "SMOD=" + std::to_string(smod) + "  ";
    report += Text(language, TextKey::ReportAchieved);
    report += std::to_string(rates.achieved.at(smod)) + "bps";
    if (smod < compared.size()) {
      report += "  ";
      report += Text(language, TextKey::ReportDeviation);
      report += FormatDeviation(compared[smod].deviation) + "%";
    }
    report += '\n';
  }
  return report;
}

}  // namespace tesmirol::cli
