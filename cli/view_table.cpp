// The table of modes: for each option that chooses what is printed, the
// action it settles and the options that go with it.

#include <algorithm>
#include <array>

#include "cli/mode_options.h"

namespace tesmirol::cli {
namespace {

// clang-format off
constexpr std::array<ViewRule, 11> kViewRules = {{
//  view               option            long name         settle                 writes carries needs   format maxErr target uart   peer
//                                                                                code   code    target
  {View::FindClock,   "--find-clock",   "--find-clock",   SettleClockMode,       false, false,  false,  false, true,  true,  true,  false},
  {View::Driver,      "--driver",       "--driver",       SettleCalculationMode, true,  true,   true,   false, true,  true,  true,  true},
  {View::Asm,         "--asm",          "--asm",          SettleCalculationMode, true,  true,   true,   false, true,  true,  true,  true},
  {View::Code,        "--code",         "--code",         SettleCalculationMode, true,  true,   false,  false, true,  true,  true,  true},
  {View::Output,      "-o",             "--output",       SettleCalculationMode, true,  true,   false,  false, true,  true,  true,  true},
  {View::Table,       "--table",        "--table",        SettleTableMode,       false, false,  false,  true,  false, true,  true,  false},
  {View::Reload,      "--reload",       "--reload",       SettleReloadMode,      false, false,  false,  false, false, true,  false, false},
  {View::Rates,       "--rates",        "--rates",        SettleRatesMode,       false, false,  false,  true,  true,  true,  true,  true},
  {View::ListPresets, "--list-presets", "--list-presets", SettleListingMode,     false, false,  false,  false, false, false, false, false},
  {View::ListTargets, "--list-targets", "--list-targets", SettleListingMode,     false, false,  false,  false, false, false, false, false},
  {View::Report,      "",               "",               SettleCalculationMode, false, true,   false,  false, true,  true,  true,  true},
}};
// clang-format on

}  // namespace

std::span<const ViewRule> ViewRules() noexcept { return kViewRules; }

const ViewRule& RuleOf(View view) noexcept {
  const auto* found =
      std::find_if(kViewRules.begin(), kViewRules.end(), [view](const ViewRule& rule) { return rule.view == view; });
  return found == kViewRules.end() ? kViewRules.back() : *found;
}

}  // namespace tesmirol::cli
