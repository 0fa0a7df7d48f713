#pragma once
// One run of tesmirol-cli, from its arguments to its exit status.

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/language.h"

namespace tesmirol::cli {

// Exit statuses, as the usage text lists them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNoResult = 1;      // no result ("null" with --json), or no code to write
inline constexpr int kExitUsageError = 2;    // the arguments make no sense
inline constexpr int kExitCheckFailed = 3;   // --max-error: the setting deviates too far, or no code; --uart: no plan
inline constexpr int kExitWriteFailure = 4;  // the output could not be written

// Parses the UTF-8 arguments, runs what they ask for (the report, the build
// check, the code, the table of presets or the rates of a reload), and writes
// the result to out, which is standard output, and what went wrong to err,
// in --lang's language or else the locale's.
int RunCommandLine(const std::vector<std::string>& arguments, Language localeLanguage, std::ostream& out,
                   std::ostream& err);

}  // namespace tesmirol::cli
