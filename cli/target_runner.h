#pragma once
// The modes of tesmirol-cli with --target: the report (plain or JSON), the
// build check and the code (C, the driver, assembly).

#include <iosfwd>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"

namespace tesmirol::cli {

// Solves CRYSTAL and BAUD for the target or family of options.target and
// writes what the action asks for; a failed --max-error check writes
// nothing. Returns the exit status.
int RunTargetCalculation(const CommandLineOptions& options, const InputText& crystal, const InputText& baud,
                         std::ostream& out, std::ostream& err);

}  // namespace tesmirol::cli
