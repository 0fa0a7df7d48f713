#include "cli/command_line_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string_view>

namespace tesmirol::cli {
namespace {

// True for an argument that is a value even though it may start with a minus
// sign: a negative baud rate or crystal ("-9600", "-.5MHz"), a lone "-", or
// anything that does not start with a minus sign at all.
bool IsValueArgument(std::string_view argument) {
  if (argument.size() < 2 || argument.front() != '-') {
    return true;
  }
  const char next = argument[1];
  return (next >= '0' && next <= '9') || next == '.';
}

// The arguments split into options and values, each in the order given.
struct SplitArguments {
  std::vector<std::string> options;
  std::vector<std::string> values;
};

// Sorts the arguments into options and values. All options are flags, so
// none of them takes the next argument along; "--" makes the rest values.
SplitArguments SplitOptionsFromValues(const std::vector<std::string>& arguments) {
  SplitArguments split;
  bool valuesOnly = false;
  for (const std::string& argument : arguments) {
    if (valuesOnly || IsValueArgument(argument)) {
      split.values.push_back(argument);
    } else if (argument == "--") {
      valuesOnly = true;
    } else {
      split.options.push_back(argument);
    }
  }
  return split;
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLineOptions options;
  bool listPresets = false;
  bool version = false;

  CLI::App app(
      "Timer-1 reload values and serial-port initialization code for 8051 "
      "microcontrollers: prints what the dialog shows for a crystal and a baud rate.",
      "tesmirol-cli");
  app.add_option("CRYSTAL", options.crystal,
                 "crystal frequency: a number with M (MHz) or K (kHz) anywhere in the text, "
                 "otherwise hertz")
      ->capture_default_str();
  app.add_option("BAUD", options.baud, "baud rate")->capture_default_str();
  app.add_flag("--json", options.json, "print one JSON object instead of the report");
  app.add_flag("--list-presets", listPresets, "print the crystal and baud preset lists (as JSON with --json)");
  app.add_flag("--version", version, "print the version and exit");
  app.footer(
      "Arguments are UTF-8 text. A value that starts with a minus sign (-9600) is a value,\n"
      "not an option; after -- every argument is a value.\n"
      "Exit status: 0 done, 1 no result for these inputs (the JSON is null),\n"
      "2 usage error, 3 the result could not be written.");

  // The parser sees the options only: left to itself it would take "-9600"
  // for an option. CRYSTAL and BAUD are declared above for the usage text and
  // are filled in from the values below.
  SplitArguments split = SplitOptionsFromValues(arguments);
  std::reverse(split.options.begin(), split.options.end());  // the parser takes from the back
  try {
    app.parse(split.options);
  } catch (const CLI::CallForHelp&) {
    options.action = CommandAction::ShowHelp;
    options.message = app.help();
    return options;
  } catch (const CLI::ParseError& error) {
    options.action = CommandAction::UsageError;
    options.message = error.what();
    return options;
  }

  if (split.values.size() > 2) {
    options.action = CommandAction::UsageError;
    options.message = "unexpected argument \"" + split.values[2] + "\" (only CRYSTAL and BAUD are taken)";
    return options;
  }
  if (!split.values.empty()) {
    options.crystal = split.values[0];
  }
  if (split.values.size() > 1) {
    options.baud = split.values[1];
  }

  if (version) {
    options.action = CommandAction::ShowVersion;
  } else if (listPresets) {
    if (!split.values.empty()) {
      options.action = CommandAction::UsageError;
      options.message = "--list-presets takes no CRYSTAL or BAUD";
    } else {
      options.action = CommandAction::ListPresets;
    }
  }
  return options;
}

}  // namespace tesmirol::cli
