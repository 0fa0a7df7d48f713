// The crystal finder's modes: --table over the preset lists, and --rates,
// the crystals that give every rate of a list.

#include "cli/mode_options.h"

namespace tesmirol::cli {
namespace {

// --json stands for --format json; with another --format it contradicts it.
std::optional<std::string> SettleJsonFormat(const GivenOptions& given, CommandLineOptions& options) {
  if (given.json && given.format && options.tableFormat != TableFormat::Json) {
    return "--json and --format " + given.formatText + " cannot be given together";
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
    return "--format markdown is not offered with --rates (text, csv or json)";
  }
  if (given.valueCount > 1) {
    return "--rates takes CRYSTAL only, no BAUD (the rates are the list)";
  }
  options.action = CommandAction::FindCrystals;
  return std::nullopt;
}

}  // namespace tesmirol::cli
