#pragma once
// The command-line arguments as UTF-8 text.

#include <string>
#include <vector>

namespace tesmirol::cli {

// The arguments after the program name, in UTF-8. On Windows they are read
// as UTF-16 from the process's command line, so Chinese arguments arrive
// whatever the ANSI code page; elsewhere argv already is UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace tesmirol::cli
