#pragma once
// The modes of tesmirol-cli with --uart: the plan of the chip's UARTs as a
// report (plain or JSON), the build check and the code.

#include <iosfwd>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"

namespace tesmirol::cli {

// Plans the --uart requests on the chip of options.target for CRYSTAL (a
// UART without a rate runs at BAUD), every UART held to --max-error (1 % by
// default), and writes what the action asks for. No plan: status 3 and the
// conflict on one line (with --json, the object with the conflict first). A
// failed --max-error check writes nothing. Returns the exit status.
int RunPlanCalculation(const CommandLineOptions& options, const InputText& crystal, const InputText& baud,
                       std::ostream& out, std::ostream& err);

}  // namespace tesmirol::cli
