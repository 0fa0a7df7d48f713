#pragma once
// The modes of tesmirol-cli with --target: the report (plain or JSON), the
// build check, the code, and the rates of a reload.

#include <iosfwd>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"

namespace tesmirol::cli {

// Solves CRYSTAL and BAUD for the target or family of options.target and
// writes what the action asks for; a failed --max-error check writes
// nothing. Returns the exit status.
int RunTargetCalculation(const CommandLineOptions& options, const InputText& crystal, const InputText& baud,
                         std::ostream& out, std::ostream& err);

// The rates options.reload gives CRYSTAL on the one target options.target.
int RunTargetReload(const CommandLineOptions& options, const InputText& crystal, std::ostream& out, std::ostream& err);

}  // namespace tesmirol::cli
