#include "cli/command_runner.h"

#include <ostream>
#include <string>
#include <string_view>

#include "cli/command_line_options.h"
#include "cli/json_report.h"
#include "cli/no_result_reason.h"
#include "cli/preset_listing.h"
#include "cli/text_report.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

constexpr std::string_view kProgramName = "tesmirol-cli";

// Says what was wrong with the arguments and where to read how they go.
int ReportUsageError(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << "\nRun '" << kProgramName << " --help' for more information.\n";
  return kExitUsageError;
}

// Says that the result exists but could not be written out.
int ReportFailure(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
  return kExitFailure;
}

// Writes the text and checks that it got out (a full disk or a closed pipe
// must not pass for success).
int Write(std::ostream& out, std::ostream& err, std::string_view text) {
  out << text;
  out.flush();
  return out ? kExitDone : ReportFailure(err, "cannot write to standard output");
}

// Calculates for CRYSTAL and BAUD and writes the plain or the JSON report.
int RunReport(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  // The engine reads GBK; text that is not UTF-8 or holds a character GBK
  // lacks is refused rather than changed.
  const auto crystal = text::Utf8ToGbk(options.crystal);
  if (!crystal) {
    return ReportUsageError(
        err, "CRYSTAL \"" + options.crystal + "\" is not UTF-8 text that the GBK character set can hold");
  }
  const auto baud = text::Utf8ToGbk(options.baud);
  if (!baud) {
    return ReportUsageError(err, "BAUD \"" + options.baud + "\" is not UTF-8 text that the GBK character set can hold");
  }

  const auto calculation = CalculateBaud(*crystal, *baud);
  if (!calculation) {
    if (options.json) {
      const int status = Write(out, err, "null\n");
      return status == kExitDone ? kExitNoResult : status;
    }
    err << kProgramName << ": no result: " << NoResultReason(*crystal, *baud, options.crystal, options.baud) << '\n';
    return kExitNoResult;
  }
  const GeneratedInitCode generated = GenerateInitCode(*calculation);

  if (options.json) {
    const auto report = MakeJsonReport(*calculation, generated);
    if (!report) {
      return ReportFailure(err, "a text of the result cannot be written as UTF-8");
    }
    return Write(out, err, report->dump(2) + '\n');
  }
  const auto report = text::GbkToUtf8(FormatTextReport(*calculation, generated));
  if (!report) {
    return ReportFailure(err, "a text of the result cannot be written as UTF-8");
  }
  return Write(out, err, *report);
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const CommandLineOptions options = ParseCommandLine(arguments);
  switch (options.action) {
    case CommandAction::ShowHelp:
      return Write(out, err, options.message);
    case CommandAction::ShowVersion:
      return Write(out, err, std::string(kProgramName) + " " + TESMIROL_VERSION + "\n");
    case CommandAction::UsageError:
      return ReportUsageError(err, options.message);
    case CommandAction::ListPresets:
      return Write(out, err, options.json ? PresetListJson().dump(2) + '\n' : PresetListText());
    case CommandAction::Report:
      break;
  }
  return RunReport(options, out, err);
}

}  // namespace tesmirol::cli
