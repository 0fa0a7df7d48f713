#pragma once
// The target catalogue, compiled in from res/targets.txt at build time, and
// look-ups by target name and chip family.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"

namespace tesmirol {

// Every target, in the catalogue's order.
std::span<const BaudTarget> BaudTargets();

// The target of that name, or nullptr. Names are matched in any ASCII case.
const BaudTarget* FindBaudTarget(std::string_view name);

// The targets a name stands for: the one target of that name, or every
// target of that chip family, in catalogue order; empty when the name is
// neither.
std::vector<const BaudTarget*> FindBaudTargets(std::string_view nameOrFamily);

// Every chip family named in the catalogue, in order of first appearance.
std::vector<std::string> BaudTargetFamilies();

// The generator under the name the catalogue gives it ("timer1-mode2",
// "timer2-rcap", "stc15-timer2", "stc15-timer1-mode0", "stc12-brt").
std::string_view GeneratorKindName(GeneratorKind kind) noexcept;

}  // namespace tesmirol
