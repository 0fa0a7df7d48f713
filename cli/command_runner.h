#pragma once
// One run of tesmirol-cli, from its arguments to its exit status.

#include <iosfwd>
#include <string>
#include <vector>

namespace tesmirol::cli {

// Exit statuses, as the usage text lists them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNoResult = 1;    // the inputs give no result ("null" with --json)
inline constexpr int kExitUsageError = 2;  // the arguments make no sense
inline constexpr int kExitFailure = 3;     // the result could not be written

// Parses the UTF-8 arguments, runs the one calculation and the one code
// generation they ask for, and writes the report to out (UTF-8) and what
// went wrong to err.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tesmirol::cli
