// tesmirol-cli: the calculation and the generated code of the dialog, on the
// command line.

#include <exception>
#include <iostream>

#include "cli/command_runner.h"
#include "cli/utf8_arguments.h"
#include "cli/utf8_console_output.h"

// Runs one command line; what escapes as an exception (out of memory) is
// reported and ends the run with the failure status.
int main(int argc, char** argv) {
  try {
    const tesmirol::cli::Utf8ConsoleOutput console;
    return tesmirol::cli::RunCommandLine(tesmirol::cli::Utf8Arguments(argc, argv), std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tesmirol-cli: " << error.what() << '\n';
    return tesmirol::cli::kExitWriteFailure;
  }
}
