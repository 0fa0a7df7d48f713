// The crystal finder's modes: --table over the preset lists, and --rates,
// the crystals that give every rate of a list.

#include "cli/mode_options.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {
namespace {

// --json stands for --format json; with another --format it contradicts it.
std::optional<std::string> SettleJsonFormat(const GivenOptions& given, CommandLineOptions& options) {
  if (given.json && given.format && options.tableFormat != TableFormat::Json) {
    return Utf8Text(options.language, TextKey::UsageJsonFormatConflict, {{"format", given.formatText}});
  }
  if (given.json) {
    options.tableFormat = TableFormat::Json;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SettleTableMode(const GivenOptions& given, CommandLineOptions& options) {
  if (auto problem = SettleJsonFormat(given, options)) {
    return problem;
  }
  options.action = CommandAction::Table;
  return std::nullopt;
}

std::optional<std::string> SettleRatesMode(const GivenOptions& given, CommandLineOptions& options) {
  if (auto problem = SettleJsonFormat(given, options)) {
    return problem;
  }
  if (options.tableFormat == TableFormat::Markdown) {
    return Utf8Text(options.language, TextKey::UsageRatesNoMarkdown);
  }
  if (given.valueCount > 1) {
    return Utf8Text(options.language, TextKey::UsageRatesCrystalOnly);
  }
  options.action = CommandAction::FindCrystals;
  return std::nullopt;
}

}  // namespace tesmirol::cli
