#pragma once
// What the user asked for on the command line.

#include <string>
#include <vector>

namespace tesmirol::cli {

enum class CommandAction {
  Report,       // calculate for CRYSTAL and BAUD and print the report
  ListPresets,  // print the crystal and baud preset lists
  ShowHelp,     // print the usage text
  ShowVersion,  // print the program's version
  UsageError,   // the arguments make no sense; say why
};

struct CommandLineOptions {
  CommandAction action = CommandAction::Report;
  std::string crystal = "11.0592MHz";  // UTF-8, as given
  std::string baud = "9600";           // UTF-8, as given
  bool json = false;
  std::string message;  // the usage text for ShowHelp, what was wrong for UsageError
};

// Reads the arguments (UTF-8, without the program name). An argument that
// starts with a minus sign and then a digit or a point (-9600, -.5MHz) is a
// value, not an option, and "--" makes every later argument a value.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tesmirol::cli
