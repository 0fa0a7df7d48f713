#include "cli/run_output.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "cli/atomic_file_writer.h"
#include "cli/command_runner.h"
#include "cli/utf8_text.h"
#include "codegen/code_bytes.h"
#include "text/encoding.h"

namespace tesmirol::cli {

int ReportUsageError(std::ostream& err, Language language, std::string_view message) {
  err << kProgramName << ": "
      << Utf8Text(language, TextKey::RunUsageError,
                  {{"message", std::string(message)}, {"program", std::string(kProgramName)}})
      << '\n';
  return kExitUsageError;
}

int ReportFailure(std::ostream& err, std::string_view message, int status) {
  err << kProgramName << ": " << message << '\n';
  return status;
}

int ReportNoResult(std::ostream& err, Language language, std::string_view gbkReason, int status) {
  const std::string reason = text::GbkToUtf8(gbkReason).value_or(std::string(gbkReason));
  return ReportFailure(err, Utf8Text(language, TextKey::RunNoResult, {{"reason", reason}}), status);
}

int Write(std::ostream& out, std::ostream& err, Language language, std::string_view text) {
  out << text;
  out.flush();
  return out ? kExitDone : ReportFailure(err, Utf8Text(language, TextKey::RunCannotWriteOutput), kExitWriteFailure);
}

int WriteJsonNull(std::ostream& out, std::ostream& err, Language language) {
  const int status = Write(out, err, language, "null\n");
  return status == kExitDone ? kExitNoResult : status;
}

std::optional<InputText> ReadInput(std::string_view name, const std::string& utf8, std::ostream& err,
                                   Language language) {
  auto gbk = text::Utf8ToGbk(utf8);
  if (!gbk) {
    ReportUsageError(err, language,
                     Utf8Text(language, TextKey::RunInputNotGbk, {{"name", std::string(name)}, {"text", utf8}}));
    return std::nullopt;
  }
  return InputText{utf8, std::move(*gbk)};
}

int DeliverCode(const CommandLineOptions& options, std::string_view gbkCode, std::ostream& out, std::ostream& err) {
  const auto bytes = EncodeGeneratedCode(gbkCode, options.encoding, options.lineFeedsOnly);
  if (!bytes) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunCodeNotUtf8), kExitWriteFailure);
  }
  if (options.outputFile.empty() || options.outputFile == "-") {
    return Write(out, err, options.language, *bytes);
  }
  if (const auto problem = ReplaceFileAtomically(options.outputFile, *bytes, options.language)) {
    return ReportFailure(err, *problem, kExitWriteFailure);
  }
  return kExitDone;
}

int DeliverDriver(const CommandLineOptions& options, std::span<const TargetCodeRequest> requests, std::ostream& out,
                  std::ostream& err) {
  const DriverOptions& driver = *options.driver;
  const auto refused = std::find_if(requests.begin(), requests.end(), [&](const TargetCodeRequest& request) {
    return CheckRs485(request, driver, options.language).has_value();
  });
  if (refused != requests.end()) {
    const std::string problem = CheckRs485(*refused, driver, options.language).value_or("");
    return ReportFailure(err, text::GbkToUtf8(problem).value_or(problem), kExitUsageError);
  }
  // The options were checked for 8N1 when they were read; the frame's ninth
  // bit may take more internal RAM.
  if (const auto refusal = CheckDriverOptions(driver, requests.size(), DriversFrame(requests), options.language)) {
    return ReportFailure(err, text::GbkToUtf8(*refusal).value_or(*refusal), kExitUsageError);
  }
  for (const std::string& warning : DriverWarnings(driver, requests.size(), DriversFrame(requests), options.language)) {
    err << kProgramName << ": " << text::GbkToUtf8(warning).value_or(warning) << '\n';
  }
  if (options.driverDir.empty()) {
    return DeliverCode(options, GenerateDriverText(requests, driver, options.language), out, err);
  }
  if (const auto problem = CreateFolders(options.driverDir, options.language)) {
    return ReportFailure(err, *problem, kExitWriteFailure);
  }
  for (const DriverFiles& files : GenerateDriverFiles(requests, driver, options.language)) {
    for (const auto& [extension, text] : {std::pair{".h", &files.header}, std::pair{".c", &files.source}}) {
      const auto bytes = EncodeGeneratedCode(*text, options.encoding, options.lineFeedsOnly);
      if (!bytes) {
        return ReportFailure(err, Utf8Text(options.language, TextKey::RunCodeNotUtf8), kExitWriteFailure);
      }
      if (const auto problem =
              ReplaceFileAtomically(options.driverDir + "/" + files.name + extension, *bytes, options.language)) {
        return ReportFailure(err, *problem, kExitWriteFailure);
      }
    }
  }
  return kExitDone;
}

}  // namespace tesmirol::cli
