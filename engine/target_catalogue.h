#pragma once
// The target catalogue, compiled in from res/targets.txt at build time, and
// look-ups by target name and chip family.

#include <optional>
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
// target of that chip family that drives the family's first UART (the UART
// of its first entry), in catalogue order; empty when the name is neither.
std::vector<const BaudTarget*> FindBaudTargets(std::string_view nameOrFamily);

// Every target of the chip family, of every UART, in catalogue order; empty
// for a name that is no family.
std::vector<const BaudTarget*> FindFamilyTargets(std::string_view family);

// The UARTs the targets drive, in order of first appearance ("UART1",
// "UART2" ...).
std::vector<std::string> UartNames(std::span<const BaudTarget* const> targets);

// The targets that drive the UART (matched in any ASCII case).
std::vector<const BaudTarget*> TargetsOfUart(std::span<const BaudTarget* const> targets, std::string_view uart);

// "UART2" for "2", "uart2" or "UART2"; no result for anything else.
std::optional<std::string> CanonicalUartName(std::string_view given);

// Every chip family named in the catalogue, in order of first appearance.
std::vector<std::string> BaudTargetFamilies();

// Every chip family's memory record, in the catalogue's order.
std::span<const ChipFamily> ChipFamilies();

// The memory the serial driver may count on for a name given as --target:
// the family's own record, or for a target the smallest memory of the
// families it serves (fewest bytes of internal RAM, then of XRAM); no result
// for a name that is neither. A part number of a supported family stands for
// its family.
std::optional<ChipMemory> DriverChipMemory(std::string_view given);

// Whether the generator divides the clock by a whole reload count, as the
// clock finder's search assumes: not the mantissa/exponent generator, which
// multiplies it, nor the ADuC's Timer 3, whose fractional divider adds a
// constant 4 and counts from 64.
bool DividesByReloadCount(const BaudTarget& target) noexcept;

// The generator under the name the catalogue gives it ("timer1-mode2",
// "timer2-rcap", "stc15-timer2", "stc15-timer1-mode0", "stc12-brt").
std::string_view GeneratorKindName(GeneratorKind kind) noexcept;

// The clock selector under the catalogue's name ("fixed", "auxr-t1x12",
// "t3con-t3ps" ...).
std::string_view ClockSelectName(ClockSelect clock) noexcept;

}  // namespace tesmirol
