#pragma once
// The crystal finder for a target or a chip family: what every crystal and
// rate of the lists gives with the target's best setting, one row a pair.

#include <iosfwd>
#include <span>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"
#include "engine/target_solver.h"

namespace tesmirol::cli {

// Writes a row for every crystal with every rate, crystal by crystal, in the
// format asked for, as UTF-8 text ending in a line feed; deviations
// coloured on a terminal when colour is true. The caller checks the stream.
void WriteTargetTable(std::ostream& out, std::span<const InputText> crystals, std::span<const InputText> bauds,
                      const std::vector<const BaudTarget*>& targets, TableFormat format, bool colour,
                      Language language);

}  // namespace tesmirol::cli
