#include "cli/command_runner.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "answers/chip_choice.h"
#include "answers/classic_answer.h"
#include "answers/classic_json.h"
#include "answers/json_writer.h"
#include "answers/listing_json.h"
#include "answers/reload_answer.h"
#include "answers/reload_json.h"
#include "cli/build_check.h"
#include "cli/clock_finder_runner.h"
#include "cli/command_line_options.h"
#include "cli/crystal_finder.h"
#include "cli/crystal_table.h"
#include "cli/link_report.h"
#include "cli/link_runs.h"
#include "cli/mode_options.h"
#include "cli/plan_runner.h"
#include "cli/plan_table.h"
#include "cli/preset_listing.h"
#include "cli/reload_report.h"
#include "cli/run_output.h"
#include "cli/target_listing.h"
#include "cli/target_report.h"
#include "cli/target_runner.h"
#include "cli/target_table.h"
#include "cli/terminal_colour.h"
#include "cli/text_report.h"
#include "cli/uart_requests.h"
#include "cli/utf8_text.h"
#include "codegen/code_bytes.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/no_result_reason.h"
#include "engine/part_catalogue.h"
#include "engine/target_catalogue.h"
#include "res/preset_lists.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// The texts as given and the answer the report, the check and the code
// work from: the calculation, the serial link when --peer asks for it, and
// the code.
struct Inputs {
  InputText crystal;
  InputText baud;
  answers::ClassicAnswer answer;
};

// Why the inputs give no result, as one line on standard error.
int ReportInputsNoResult(const Inputs& inputs, std::ostream& err, Language language, int status) {
  return ReportNoResult(err, language, NoResultReason(inputs.crystal.gbk, inputs.baud.gbk, language), status);
}

// Writes the generated code alone: to standard output, or to the file,
// replacing it in one step.
int WriteCode(const CommandLineOptions& options, const Inputs& inputs, std::ostream& out, std::ostream& err) {
  if (!inputs.answer.calculation) {
    return ReportInputsNoResult(inputs, err, options.language, kExitNoResult);
  }
  const InitCodeChoice choice = ChooseInitCodeSetting(*inputs.answer.calculation);
  if (choice.outcome != GenerationOutcome::Code) {
    return ReportFailure(err, NoCodeReason(*inputs.answer.calculation, choice, options.language), kExitNoResult);
  }
  return DeliverCode(options, inputs.answer.code.text, out, err);
}

// A document of answers/ in the command line's face, laid out as it prints
// its JSON.
std::string CommandLineJson(const std::function<void(answers::JsonWriter&)>& write) {
  answers::JsonWriter json(answers::JsonFace::CommandLine);
  write(json);
  return answers::PrettyJson(json.Text()) + '\n';
}

// The plain or the JSON report of one calculation.
int WriteReport(const CommandLineOptions& options, const Inputs& inputs, std::ostream& out, std::ostream& err) {
  if (!inputs.answer.calculation) {
    if (options.json) {
      return WriteJsonNull(out, err, options.language);
    }
    return ReportInputsNoResult(inputs, err, options.language, kExitNoResult);
  }
  const GeneratedInitCode& generated = inputs.answer.code;
  if (options.json) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    json.BeginObject();
    if (!answers::WriteClassicMembers(json, *inputs.answer.calculation, generated) ||
        (inputs.answer.link && !WriteLinkMember(json, *options.link, *inputs.answer.link))) {
      return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
    }
    json.EndObject();
    return Write(out, err, options.language, answers::PrettyJson(json.Text()) + '\n');
  }
  std::string gbk = FormatTextReport(*inputs.answer.calculation, generated, options.language);
  if (inputs.answer.link) {
    gbk = InsertLinkLines(std::move(gbk), generated.text,
                          LinkReportLines(*options.link, *inputs.answer.link, options.language));
  }
  const auto report = text::GbkToUtf8(gbk);
  if (!report) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, options.language, *report);
}

// Calculates for CRYSTAL and BAUD, holds the result to --max-error when
// asked, and writes what the action asks for. A failed check writes nothing.
int RunCalculation(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  const auto crystal =
      ReadInput("CRYSTAL", options.crystal.value_or(std::string(kDefaultCrystal)), err, options.language);
  if (!crystal) {
    return kExitUsageError;
  }
  const auto baud = ReadInput("BAUD", options.baud.value_or(std::string(kDefaultBaud)), err, options.language);
  if (!baud) {
    return kExitUsageError;
  }
  if (options.target && !options.uarts.empty()) {
    return RunPlanCalculation(options, *crystal, *baud, out, err);
  }
  if (options.target) {
    return RunTargetCalculation(options, *crystal, *baud, out, err);
  }
  const std::optional<answers::LinkAsk> link =
      options.link ? std::optional<answers::LinkAsk>(LinkAskOf(*options.link)) : std::nullopt;
  const Inputs inputs{*crystal, *baud,
                      answers::AnswerClassic(crystal->gbk, baud->gbk, link ? &*link : nullptr, CodeLanguage(options))};

  if (options.maxErrorPercent) {
    if (!inputs.answer.calculation) {
      return ReportInputsNoResult(inputs, err, options.language, kExitCheckFailed);
    }
    if (const auto failure = CheckMaxError(*inputs.answer.calculation, *options.maxErrorPercent, options.language)) {
      return ReportFailure(
          err,
          Utf8Text(options.language, TextKey::CheckInputsFailure,
                   {{"crystal", inputs.crystal.utf8}, {"baud", inputs.baud.utf8}, {"reason", *failure}}),
          kExitCheckFailed);
    }
  }
  if (options.link && options.link->requireLink) {
    if (!inputs.answer.calculation) {
      return ReportInputsNoResult(inputs, err, options.language, kExitCheckFailed);
    }
    if (const auto failure = FirstLinkFailure(*options.link, {&*inputs.answer.link, 1}, options.language)) {
      return ReportFailure(
          err,
          Utf8Text(options.language, TextKey::CheckInputsFailure,
                   {{"crystal", inputs.crystal.utf8}, {"baud", inputs.baud.utf8}, {"reason", *failure}}),
          kExitCheckFailed);
    }
  }
  if (options.action == CommandAction::Check) {
    return kExitDone;
  }
  if (options.action == CommandAction::Code) {
    return WriteCode(options, inputs, out, err);
  }
  return WriteReport(options, inputs, out, err);
}

// The texts a table runs down: the one given, or every preset of the list
// when none or "all" is given.
std::optional<std::vector<InputText>> TableInputs(std::string_view name, const std::optional<std::string>& given,
                                                  std::span<const std::string_view> presets, std::ostream& err,
                                                  Language language) {
  std::vector<InputText> inputs;
  if (given && *given != kAllPresets) {
    auto input = ReadInput(name, *given, err, language);
    if (!input) {
      return std::nullopt;
    }
    inputs.push_back(std::move(*input));
    return inputs;
  }
  inputs.resize(presets.size());
  std::transform(presets.begin(), presets.end(), inputs.begin(), [](std::string_view preset) {
    return InputText{std::string(preset), std::string(preset)};  // presets are ASCII
  });
  return inputs;
}

// The generators a table or the finder tries: those of the one --uart
// NAME on the chip, or what --target names (a target, or the generators of
// the family's first UART).
std::vector<const BaudTarget*> TableTargets(const CommandLineOptions& options) {
  std::string uart;
  return answers::TargetsOfChosenUart(answers::ReadChipChoice(*options.target),
                                      options.uarts.empty() ? std::string_view() : options.uarts.front().uart, uart);
}

// The crystal finder over the preset lists.
int RunTable(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  const auto crystals = TableInputs("CRYSTAL", options.crystal, CrystalPresets(), err, options.language);
  if (!crystals) {
    return kExitUsageError;
  }
  const bool colour = options.tableFormat == TableFormat::Text && StandardOutputTakesColour();
  if (options.target && IsPlanTable(options)) {
    WritePlanTable(out, *crystals, options.uarts, ChipTargets(*options.target), options.maxErrorPercent.value_or(1.0),
                   options.tableFormat, colour, options.language);
    return Write(out, err, options.language, "");
  }
  const auto bauds = TableInputs("BAUD", options.baud, BaudPresets(), err, options.language);
  if (!bauds) {
    return kExitUsageError;
  }
  if (options.target) {
    WriteTargetTable(out, *crystals, *bauds, TableTargets(options), options.tableFormat, colour, options.language);
  } else {
    WriteCrystalTable(out, *crystals, *bauds, options.tableFormat, colour, options.language);
  }
  return Write(out, err, options.language, "");
}

// --rates: the crystals that give every rate of the list within the
// tolerance (--max-error, 1 % by default).
int RunCrystalFinder(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  const auto crystals = TableInputs("CRYSTAL", options.crystal, CrystalPresets(), err, options.language);
  if (!crystals) {
    return kExitUsageError;
  }
  const std::vector<const BaudTarget*> targets =
      options.target ? TableTargets(options) : std::vector<const BaudTarget*>{};
  const double tolerance = options.maxErrorPercent.value_or(1.0);
  const std::size_t found = WriteCrystalFinder(out, *crystals, options.rates, targets, tolerance, options.tableFormat,
                                               options.link, options.language);
  const int status = Write(out, err, options.language, "");
  if (status != kExitDone) {
    return status;
  }
  return found > 0 ? kExitDone
                   : ReportFailure(err, Utf8Text(options.language, TextKey::FinderNoCrystal), kExitNoResult);
}

// The rates one reload value gives the crystal: on the classic Timer 1, or
// on the one target options.target names (checked with the options).
int RunReloadRates(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  const auto crystal =
      ReadInput("CRYSTAL", options.crystal.value_or(std::string(kDefaultCrystal)), err, options.language);
  if (!crystal) {
    return kExitUsageError;
  }
  std::optional<InputText> baud;
  if (options.baud) {
    baud = ReadInput("BAUD", *options.baud, err, options.language);
    if (!baud) {
      return kExitUsageError;
    }
  }
  // A target's name, or a family or part number whose family has the one
  // entry (the options' check refuses the others).
  const std::vector<const BaudTarget*> named =
      options.target ? FindBaudTargets(CatalogueChipName(*options.target)) : std::vector<const BaudTarget*>();
  const BaudTarget* target = named.empty() ? nullptr : named.front();
  const std::span<const BaudTarget* const> targets =
      target != nullptr ? std::span<const BaudTarget* const>(&target, 1) : std::span<const BaudTarget* const>();
  const answers::ReloadAnswer answer =
      answers::AnswerReload(crystal->gbk, options.reload, targets, baud ? std::string_view(baud->gbk) : "");
  const answers::TargetReload* entry = target != nullptr && answer.frequency ? &answer.targets.front() : nullptr;
  const bool hasRates =
      target != nullptr ? entry != nullptr && entry->settings && !entry->settings->empty() : answer.classic.has_value();
  if (!hasRates) {
    if (options.json) {
      return WriteJsonNull(out, err, options.language);
    }
    const std::string reason = target != nullptr ? TargetNoResultReason(crystal->gbk, "1", options.language)
                                                 : ReloadNoResultReason(crystal->gbk, options.language);
    return ReportNoResult(err, options.language, reason, kExitNoResult);
  }
  if (options.json) {
    answers::JsonWriter json(answers::JsonFace::CommandLine);
    json.BeginObject();
    const bool written = target != nullptr ? answers::WriteTargetReloadMembers(json, answer, *entry)
                                           : answers::WriteClassicReloadMembers(json, answer);
    if (!written) {
      return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
    }
    json.EndObject();
    return Write(out, err, options.language, answers::PrettyJson(json.Text()) + '\n');
  }
  const auto report =
      text::GbkToUtf8(target != nullptr ? FormatTargetReloadReport(*target, *answer.frequency, *entry->settings,
                                                                   answer.baud > 0, options.language)
                                        : FormatReloadReport(*answer.classic, answer.classicModes, options.language));
  if (!report) {
    return ReportFailure(err, Utf8Text(options.language, TextKey::RunResultNotUtf8), kExitWriteFailure);
  }
  return Write(out, err, options.language, *report);
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, Language localeLanguage, std::ostream& out,
                   std::ostream& err) {
  const CommandLineOptions options = ParseCommandLine(arguments, localeLanguage);
  switch (options.action) {
    case CommandAction::ShowHelp:
      return Write(out, err, options.language, options.message);
    case CommandAction::ShowVersion:
      return Write(out, err, options.language, std::string(kProgramName) + " " + TESMIROL_VERSION + "\n");
    case CommandAction::UsageError:
      return ReportUsageError(err, options.language, options.message);
    case CommandAction::ListPresets:
      return Write(out, err, options.language,
                   options.json ? CommandLineJson(answers::WritePresetListing) : PresetListText(options.language));
    case CommandAction::ListTargets:
      if (options.partsFamily) {
        const std::string& family = *options.partsFamily;
        return Write(out, err, options.language,
                     options.json ? CommandLineJson([&family](answers::JsonWriter& json) {
                       answers::WritePartListing(json, family);
                     })
                                  : PartListText(family, options.language));
      }
      return Write(out, err, options.language,
                   options.json ? CommandLineJson(answers::WriteTargetListing) : TargetListText(options.language));
    case CommandAction::Table:
      return RunTable(options, out, err);
    case CommandAction::FindCrystals:
      return RunCrystalFinder(options, out, err);
    case CommandAction::FindClocks:
      return RunClockFinder(options, out, err);
    case CommandAction::ReloadRates:
      return RunReloadRates(options, out, err);
    case CommandAction::Report:
    case CommandAction::Check:
    case CommandAction::Code:
      break;
  }
  return RunCalculation(options, out, err);
}

}  // namespace tesmirol::cli
