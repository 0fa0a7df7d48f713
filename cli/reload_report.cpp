#include "cli/reload_report.h"

#include <cstddef>

#include "engine/reload_text.h"
#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol::cli {

std::string FormatReloadReport(const ReloadRates& rates, Language language) {
  std::string report;
  report += Text(language, TextKey::ReportSelectedCrystal);
  report += std::to_string(rates.crystalHz) + " Hz\n";
  report += "TH1 = " + FormatReload(rates.reload) + " (" + std::to_string(rates.reload) + ")\n";
  for (std::size_t smod = 0; smod < rates.achieved.size(); ++smod) {
    report += "SMOD=" + std::to_string(smod) + "  ";
    report += Text(language, TextKey::ReportAchieved);
    report += std::to_string(rates.achieved.at(smod)) + "bps\n";
  }
  return report;
}

std::optional<nlohmann::ordered_json> MakeReloadJson(const ReloadRates& rates) {
  auto crystalText = text::GbkToUtf8(rates.crystalText);
  if (!crystalText) {
    return std::nullopt;
  }
  nlohmann::ordered_json report;
  report["crystalText"] = std::move(*crystalText);
  report["frequency"] = static_cast<double>(rates.frequency);
  report["crystalHz"] = rates.crystalHz;
  report["reload"] = rates.reload;
  report["reloadText"] = FormatReload(rates.reload);
  report["divisor"] = rates.divisor;
  nlohmann::ordered_json modes = nlohmann::ordered_json::array();
  for (std::size_t smod = 0; smod < rates.achieved.size(); ++smod) {
    modes.push_back({{"smod", smod}, {"achieved", rates.achieved.at(smod)}});
  }
  report["modes"] = std::move(modes);
  return report;
}

}  // namespace tesmirol::cli
