// What --target allows, and what its absence rules out.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "cli/mode_options.h"
#include "codegen/target_asm_code.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {
namespace {

std::vector<std::string> TargetNames(const std::vector<const BaudTarget*>& targets) {
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(), [](const BaudTarget* target) { return target->name; });
  return names;
}

std::vector<std::string> AllTargetNames() {
  const std::span<const BaudTarget> targets = BaudTargets();
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(), [](const BaudTarget& target) { return target.name; });
  return names;
}

std::string HexLimit(std::uint32_t bits) { return bits > 8 ? "0xFFFF" : "0xFF"; }

// The reload against the one target's register.
std::optional<std::string> CheckTargetReload(const std::string& given, const std::vector<const BaudTarget*>& targets,
                                             const CommandLineOptions& options) {
  if (targets.size() > 1) {
    return "--reload needs one target, not the family \"" + given +
           "\" (its targets: " + JoinNames(TargetNames(targets)) + ")";
  }
  const BaudTarget& target = *targets.front();
  if (options.reload >= (std::uint32_t{1} << target.reloadBits)) {
    return "--reload \"" + options.reloadText + "\" does not fit " + target.name + "'s " +
           std::to_string(target.reloadBits) + "-bit register (0 to " + HexLimit(target.reloadBits) + ")";
  }
  return std::nullopt;
}

bool WritesCode(std::string_view view) {
  return view.empty() || view == "--code" || view == "-o" || view == "--driver" || view == "--asm";
}

// The assembly text covers the target, or every target of the family.
std::optional<std::string> CheckAsmCoverage(const std::string& given) {
  for (const BaudTarget& target : BaudTargets()) {
    const bool named = target.name == given ||
                       std::find(target.families.begin(), target.families.end(), given) != target.families.end();
    if (named && !AsmCoversTarget(target)) {
      return "--asm does not cover " + target.name + (target.name == given ? "" : " (of " + given + ")") +
             "; it covers " + JoinNames(AsmCoveredTargetNames());
    }
  }
  return std::nullopt;
}

}  // namespace

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    joined += joined.empty() ? "" : ", ";
    joined += name;
  }
  return joined;
}

std::optional<std::string> CheckTargetOptions(const GivenOptions& given, const CommandLineOptions& options) {
  if (given.uartMode && !WritesCode(given.view)) {
    return "--uart-mode applies to the generated code: give it with --target and --code, -o or the report";
  }
  if (!options.target) {
    if (given.view == "--reload" && options.reload > 0xFFU) {
      return "--reload \"" + options.reloadText + "\" is not a reload value from 0 to 255 (0x00 to 0xFF)";
    }
    if (given.uartMode) {
      return "--uart-mode needs --target (the dialog's code is UART mode 1 only)";
    }
    return std::nullopt;
  }
  if (given.view == "--list-presets" || given.view == "--list-targets") {
    return "--target cannot be given with " + given.view;
  }
  const std::vector<const BaudTarget*> targets = FindBaudTargets(*options.target);
  if (targets.empty()) {
    return "unknown target \"" + *options.target + "\"; the targets are " + JoinNames(AllTargetNames()) +
           "; the chip families are " + JoinNames(BaudTargetFamilies());
  }
  if (given.view == "--reload") {
    return CheckTargetReload(*options.target, targets, options);
  }
  if (given.view == "--asm") {
    return CheckAsmCoverage(*options.target);
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
