#pragma once
// What every mode of tesmirol-cli writes the same way: errors on one line,
// output checked for write failures, the user's texts in GBK, and the
// generated code to standard output or a file.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"
#include "engine/language.h"

namespace tesmirol::cli {

inline constexpr std::string_view kProgramName = "tesmirol-cli";

// Says, on one line, what was wrong with the arguments; returns status 2.
int ReportUsageError(std::ostream& err, Language language, std::string_view message);

// Says why the run ends with the given status, and returns it.
int ReportFailure(std::ostream& err, std::string_view message, int status);

// Writes the text and checks that it got out (a full disk or a closed pipe
// must not pass for success).
int Write(std::ostream& out, std::ostream& err, Language language, std::string_view text);

// "null" and status 1: the JSON of no result.
int WriteJsonNull(std::ostream& out, std::ostream& err, Language language);

// The user's text in GBK for the engine; no result, and the usage error
// reported, when it is not UTF-8 or holds a character GBK lacks.
std::optional<InputText> ReadInput(std::string_view name, const std::string& utf8, std::ostream& err,
                                   Language language);

// The generated GBK code in the encoding and line ends asked for, to
// standard output or into the file, replaced in one step.
int DeliverCode(const CommandLineOptions& options, std::string_view gbkCode, std::ostream& out, std::ostream& err);

// The serial driver of the requests' UARTs (options.driver): as one text
// the way DeliverCode writes code, or as uartN.h and uartN.c in
// options.driverDir, each replaced in one step.
int DeliverDriver(const CommandLineOptions& options, std::span<const TargetCodeRequest> requests, std::ostream& out,
                  std::ostream& err);

}  // namespace tesmirol::cli
