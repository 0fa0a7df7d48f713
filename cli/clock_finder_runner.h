#pragma once
// The mode of tesmirol-cli with --find-clock: the clocks that give every
// rate of a list on one UART, or at which the --uart UARTs can be planned.

#include <iosfwd>

#include "cli/command_line_options.h"

namespace tesmirol::cli {

// Finds the clocks for options.rates on the --target's generators (or the
// one --uart NAME's), or for the --uart NAME:RATE plan on the chip, within
// --clock-range (or the chip's clock steps), each rate held to --max-error
// (1 % by default), and writes them as text or JSON. Returns 0 with clocks
// found, 1 when none is (the reason on standard error; with --json the
// object too), 2 for a range too wide to search or a chip whose clock needs
// a range.
int RunClockFinder(const CommandLineOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmirol::cli
