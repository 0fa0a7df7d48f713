#include "cli/json_report.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "engine/deviation_text.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// One SMOD setting. Doubles go in as they are: the JSON writer prints the
// shortest digits that read back to the identical double.
nlohmann::ordered_json ModeObject(std::size_t smod, const ModeResult& mode) {
  nlohmann::ordered_json object;
  object["smod"] = smod;
  object["reload"] = mode.reload;
  object["divisor"] = mode.divisor;
  object["achieved"] = mode.achieved;
  object["deviation"] = mode.deviation;
  object["deviationAbs"] = mode.deviationAbs;
  object["deviationText"] = FormatDeviation(mode.deviation);
  object["status"] = ModeStatusName(mode.status);
  object["outOfTolerance"] = IsOutOfTolerance(mode);
  return object;
}

}  // namespace

std::optional<nlohmann::ordered_json> MakeJsonReport(const BaudCalculation& calculation,
                                                     const GeneratedInitCode& generated) {
  auto crystalText = text::GbkToUtf8(calculation.crystalText);
  auto baudText = text::GbkToUtf8(calculation.baudText);
  auto output = text::GbkToUtf8(generated.text);
  if (!crystalText || !baudText || !output) {
    return std::nullopt;
  }

  nlohmann::ordered_json report;
  report["crystalText"] = std::move(*crystalText);
  report["baudText"] = std::move(*baudText);
  report["baud"] = calculation.baud;
  // The float32 frequency widened exactly, so that it reads back as the same
  // float.
  report["frequency"] = static_cast<double>(calculation.frequency);
  report["crystalHz"] = calculation.crystalHz;
  report["minBps"] = calculation.minBps;
  report["maxBps"] = calculation.maxBps;
  nlohmann::ordered_json modes = nlohmann::ordered_json::array();
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    modes.push_back(ModeObject(smod, calculation.mode.at(smod)));
  }
  report["modes"] = std::move(modes);
  report["outcome"] = GenerationOutcomeName(generated.outcome);
  report["output"] = std::move(*output);
  return report;
}

}  // namespace tesmirol::cli
