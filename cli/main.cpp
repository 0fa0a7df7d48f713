// tesmirol-cli: the calculation and the generated code of the dialog, on the
// command line.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string_view>

#include "cli/command_runner.h"
#include "cli/locale_language.h"
#include "cli/utf8_arguments.h"
#include "cli/utf8_console_output.h"

namespace {

// The environment variable's value, "" when it is not set.
std::string_view EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

// Runs one command line; what escapes as an exception (out of memory) is
// reported and ends the run with the failure status.
int main(int argc, char** argv) {
  try {
    const tesmirol::cli::Utf8ConsoleOutput console;
    const tesmirol::Language locale = tesmirol::cli::LocaleLanguage(
        EnvironmentValue("LC_ALL"), EnvironmentValue("LC_MESSAGES"), EnvironmentValue("LANG"));
    return tesmirol::cli::RunCommandLine(tesmirol::cli::Utf8Arguments(argc, argv), locale, std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tesmirol-cli: " << error.what() << '\n';
    return tesmirol::cli::kExitWriteFailure;
  }
}
