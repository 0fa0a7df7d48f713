#include "cli/argument_split.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace tesmirol::cli {
namespace {

// The options that take a value, by every name they can be given under.
constexpr std::array<std::string_view, 24> kValueOptions = {
    "-o",        "--output",  "--encoding",        "--max-error", "--format",     "--reload",
    "--target",  "--rates",   "--uart-mode",       "--uart",      "--driver-dir", "--rx-size",
    "--tx-size", "--buffers", "--register-bank",   "--asm",       "--lang",       "--clock-range",
    "--limit",   "--peer",    "--clock-tolerance", "--frame",     "--rs485",      "--parts"};

// --driver takes its value only when the next argument is one of these: the
// value may be left out ("--driver 22.1184MHz" asks for the interrupt-driven one).
bool IsDriverKind(std::string_view argument) { return argument == "interrupt" || argument == "polled"; }

// --find-clock takes its value only when the next argument is a list of
// rates ("9600,115200"): without one it plans the --uart NAME:RATE UARTs.
bool IsRateList(std::string_view argument) {
  return !argument.empty() && argument.front() >= '0' && argument.front() <= '9' &&
         argument.find_first_not_of("0123456789,") == std::string_view::npos;
}

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

bool TakesValue(std::string_view option) {
  return std::find(kValueOptions.begin(), kValueOptions.end(), option) != kValueOptions.end();
}

}  // namespace

SplitArguments SplitOptionsFromValues(const std::vector<std::string>& arguments) {
  SplitArguments split;
  bool valuesOnly = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (valuesOnly || IsValueArgument(argument)) {
      split.values.push_back(argument);
    } else if (argument == "--") {
      valuesOnly = true;
    } else if (argument == "--driver") {
      const bool given = i + 1 < arguments.size() && IsDriverKind(arguments[i + 1]);
      split.options.push_back(given ? "--driver=" + arguments[++i] : "--driver=interrupt");
    } else if (argument == "--find-clock") {
      const bool given = i + 1 < arguments.size() && IsRateList(arguments[i + 1]);
      split.options.push_back(given ? "--find-clock=" + arguments[++i] : argument);
    } else if (TakesValue(argument) && i + 1 < arguments.size()) {
      const std::string name = argument == "-o" ? "--output" : argument;
      split.options.push_back(name + "=" + arguments[++i]);
    } else if (argument.starts_with("-o") && !argument.starts_with("--")) {
      split.options.push_back("--output=" + argument.substr(2));
    } else {
      split.options.push_back(argument);
    }
  }
  return split;
}

}  // namespace tesmirol::cli
