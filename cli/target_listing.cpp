#include "cli/target_listing.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "engine/target_catalogue.h"

namespace tesmirol::cli {
namespace {

// "12T", "6T", "1T": the timer clock as the chips' manuals name it.
std::string ClockText(const BaudTarget& target) { return std::to_string(target.clocksPerCycle) + "T"; }

std::string Joined(const std::vector<std::string>& names, std::string_view separator) {
  std::string joined;
  for (const std::string& name : names) {
    joined += joined.empty() ? "" : std::string(separator);
    joined += name;
  }
  return joined;
}

std::vector<std::string> FamilyTargetNames(const std::string& family) {
  const std::vector<const BaudTarget*> targets = FindBaudTargets(family);
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(), [](const BaudTarget* target) { return target->name; });
  return names;
}

}  // namespace

std::string TargetListText() {
  std::string text;
  for (const BaudTarget& target : BaudTargets()) {
    text += target.name + "  " + ClockText(target) + "  families: " + Joined(target.families, " ") + "\n";
    text += "    " + target.chips + "\n";
    text += "    rate = " + target.formula + "; reload: " + Joined(target.reloadRegisters, ",") + " (" +
            std::to_string(target.reloadBits) + " bits)\n";
    text += "    writes: " + target.registers + "\n";
  }
  text += "\nfamilies (--target FAMILY tries each and reports the best):\n";
  for (const std::string& family : BaudTargetFamilies()) {
    text += "  " + family + ": " + Joined(FamilyTargetNames(family), " ") + "\n";
  }
  return text;
}

nlohmann::ordered_json TargetListJson() {
  nlohmann::ordered_json targets = nlohmann::ordered_json::array();
  for (const BaudTarget& target : BaudTargets()) {
    nlohmann::ordered_json entry;
    entry["name"] = target.name;
    entry["families"] = target.families;
    entry["chips"] = target.chips;
    entry["clock"] = ClockText(target);
    entry["clocksPerCycle"] = target.clocksPerCycle;
    entry["generator"] = GeneratorKindName(target.generator);
    entry["divider"] = target.divider;
    entry["reloadBits"] = target.reloadBits;
    entry["smodDoubles"] = target.smodDoubles;
    entry["reloadRegisters"] = target.reloadRegisters;
    entry["registers"] = target.registers;
    entry["formula"] = target.formula;
    entry["source"] = target.source;
    targets.push_back(std::move(entry));
  }
  nlohmann::ordered_json families = nlohmann::ordered_json::object();
  for (const std::string& family : BaudTargetFamilies()) {
    families[family] = FamilyTargetNames(family);
  }
  return {{"targets", std::move(targets)}, {"families", std::move(families)}};
}

}  // namespace tesmirol::cli
