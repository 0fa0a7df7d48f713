// What --target allows, and what its absence rules out.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/mode_options.h"
#include "cli/utf8_text.h"
#include "codegen/target_asm_code.h"
#include "engine/part_catalogue.h"
#include "engine/target_catalogue.h"
#include "engine/target_solver.h"

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

// The largest reload the target takes, in hexadecimal ("0xFF", "0x3FF",
// "0xFFFF"; "0x3F" for the ADuC's T3FD).
std::string HexLimit(const BaudTarget& target) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string digits;
  for (std::uint32_t most = MostReload(target); most != 0; most >>= 4U) {
    digits.insert(digits.begin(), kDigits[most & 0x0FU]);
  }
  return "0x" + (digits.empty() ? std::string("0") : digits);
}

// The reload against the one target's register.
std::optional<std::string> CheckTargetReload(const std::string& given, const std::vector<const BaudTarget*>& targets,
                                             const CommandLineOptions& options) {
  if (targets.size() > 1) {
    return Utf8Text(options.language, TextKey::UsageReloadFamily,
                    {{"family", given}, {"targets", JoinNames(TargetNames(targets))}});
  }
  const BaudTarget& target = *targets.front();
  if (options.reload > MostReload(target)) {
    return Utf8Text(options.language, TextKey::UsageReloadTooWide,
                    {{"reload", options.reloadText},
                     {"target", target.name},
                     {"bits", std::to_string(target.reloadBits)},
                     {"limit", HexLimit(target)}});
  }
  return std::nullopt;
}

// The assembly text covers the target, or every target of the family.
std::optional<std::string> CheckAsmCoverage(const std::string& given, Language language) {
  for (const BaudTarget& target : BaudTargets()) {
    const bool named = target.name == given ||
                       std::find(target.families.begin(), target.families.end(), given) != target.families.end();
    if (named && !AsmCoversTarget(target)) {
      return Utf8Text(language, target.name == given ? TextKey::UsageAsmNotCovered : TextKey::UsageAsmNotCoveredOf,
                      {{"target", target.name}, {"family", given}, {"covered", JoinNames(AsmCoveredTargetNames())}});
    }
  }
  return std::nullopt;
}

}  // namespace

std::string UnknownTargetText(const std::string& given, Language language) {
  const ChipName chip = ResolveChipName(given);
  if (chip.kind == ChipNameKind::UnsupportedPart) {
    return Utf8Text(language, TextKey::UsagePartNotSupported,
                    {{"target", given},
                     {"part", chip.part},
                     {"family", chip.catalogueName},
                     {"families", JoinNames(BaudTargetFamilies())}});
  }
  const std::vector<std::string> nearest = NearestChipNames(given);
  if (!nearest.empty()) {
    return Utf8Text(language, TextKey::UsageUnknownTargetNearest, {{"target", given}, {"nearest", JoinNames(nearest)}});
  }
  return Utf8Text(
      language, TextKey::UsageUnknownTarget,
      {{"target", given}, {"targets", JoinNames(AllTargetNames())}, {"families", JoinNames(BaudTargetFamilies())}});
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    joined += joined.empty() ? "" : ", ";
    joined += name;
  }
  return joined;
}

std::optional<std::string> CheckTargetOptions(const GivenOptions& given, const CommandLineOptions& options) {
  if (given.uartMode && !given.rule->carriesCode) {
    return Utf8Text(options.language, TextKey::UsageUartModeCodeOnly);
  }
  if (!options.target) {
    if (given.rule->view == View::Reload && options.reload > 0xFFU) {
      return Utf8Text(options.language, TextKey::UsageReload8Bit, {{"reload", options.reloadText}});
    }
    if (given.uartMode) {
      return Utf8Text(options.language, TextKey::UsageUartModeNeedsTarget);
    }
    return std::nullopt;
  }
  if (!given.rule->target) {
    return Utf8Text(options.language, TextKey::UsageTargetNotWith, {{"option", std::string(given.rule->option)}});
  }
  const std::vector<const BaudTarget*> targets = FindBaudTargets(*options.target);
  if (targets.empty()) {
    return UnknownTargetText(*options.target, options.language);
  }
  if (given.rule->view == View::Reload) {
    return CheckTargetReload(*options.target, targets, options);
  }
  if (given.rule->view == View::Asm) {
    return CheckAsmCoverage(*options.target, options.language);
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
