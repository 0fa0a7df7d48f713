#pragma once
// The command line's arguments sorted into options and values before the
// option parser sees them, so that "-9600" stays a value.

#include <string>
#include <vector>

namespace tesmirol::cli {

// The arguments split into options and values, each in the order given.
struct SplitArguments {
  std::vector<std::string> options;
  std::vector<std::string> values;
};

// Sorts the arguments into options and values. An option that takes a value
// is joined with it ("--reload=0xFD", "--output=FILE") so that the parser
// never mistakes a value such as "-1" for an option of its own; "-oFILE"
// becomes "--output=FILE" the same way. "--" makes the rest values.
SplitArguments SplitOptionsFromValues(const std::vector<std::string>& arguments);

}  // namespace tesmirol::cli
