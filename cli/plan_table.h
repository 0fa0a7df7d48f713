#pragma once
// The plan on each crystal (--table with --uart NAME:RATE): which generator,
// timer, clock and reload every UART gets on each crystal of the list, or
// that the UARTs cannot be served together there.

#include <iosfwd>
#include <span>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"
#include "engine/baud_target.h"

namespace tesmirol::cli {

// Writes, crystal by crystal, a row per UART of the plan (rows of dashes
// and "conflict" or "no result" where there is no plan), every UART held to
// tolerancePercent, in the format asked for, as UTF-8 text ending in a line
// feed; deviations coloured on a terminal when colour is true. The caller
// checks the stream.
void WritePlanTable(std::ostream& out, std::span<const InputText> crystals, std::span<const UartChoice> uarts,
                    const std::vector<const BaudTarget*>& chipTargets, double tolerancePercent, TableFormat format,
                    bool colour, Language language);

}  // namespace tesmirol::cli
