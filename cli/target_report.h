#pragma once
// The report of a target or a chip family as text (GBK, in the plain
// report's manner).

#include <cstddef>
#include <optional>
#include <string>

#include "codegen/init_code_generator.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "engine/target_solver.h"
#include "engine/uart_planner.h"

namespace tesmirol::cli {

// What the generated code of a target's best setting is (GenerateTargetCode).
using TargetCode = GeneratedInitCode;

// The text report: a line per target tried when there are several, then
// the best target's settings (every neighbour tried, the winner marked), then
// the code or the warning after a blank line. GBK.
std::string FormatTargetReport(const FamilySolution& family, const TargetInputs& inputs, const TargetCode& code,
                               Language language);

// "实际：9615.38bps (125000/13)  偏差：0.16%", with the out-of-tolerance
// mark beyond 1 %. GBK.
std::string AchievedRateText(const TargetSetting& setting, Language language);

// The --reload report for one target: the rates the reload gives, exact (GBK).
// With compared, each setting's deviation from the rate its settings were
// worked out against.
std::string FormatTargetReloadReport(const BaudTarget& target, const ExactFrequency& frequency,
                                     const std::vector<TargetSetting>& settings, bool compared, Language language);

}  // namespace tesmirol::cli
