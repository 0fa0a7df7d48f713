#include "cli/command_line_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

#include "cli/argument_split.h"
#include "cli/link_options.h"
#include "cli/mode_options.h"
#include "cli/option_values.h"
#include "cli/usage_text.h"
#include "cli/utf8_text.h"
#include "engine/part_catalogue.h"
#include "engine/serial_frame.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// The raw texts of the options, before they are checked.
struct OptionTexts {
  bool code = false;
  bool table = false;
  bool listPresets = false;
  bool listTargets = false;
  bool version = false;
  std::string target;
  std::string parts;
  std::string rates;
  std::string uartMode;
  std::string output;
  std::string encoding;
  std::string maxError;
  std::string format;
  std::string reload;
  std::vector<std::string> uarts;
  std::string driver;
  std::string driverDir;
  std::string rxSize;
  std::string txSize;
  std::string buffers;
  std::string registerBank;
  bool crlf = false;
  std::string rs485;
  std::string asmSyntax;
  std::string findClock;
  std::string clockRange;
  std::string limit;
  LinkOptionTexts link;
};

// The frames the UART carries, as the user writes them.
std::vector<std::string> FrameNames() {
  const auto names = SerialFrameNames();
  return {names.begin(), names.end()};
}

// A whole number without sign, as the driver's sizes and bank are written.
std::optional<std::uint32_t> ParseCount(std::string_view text) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::accumulate(text.begin(), text.end(), std::uint32_t{0},
                         [](std::uint32_t value, char c) { return value * 10 + static_cast<std::uint32_t>(c - '0'); });
}

// The options of the serial driver; the first bad one is named.
std::optional<std::string> ReadDriverValues(const CLI::App& app, const OptionTexts& texts,
                                            CommandLineOptions& options) {
  const bool driver = app.count("--driver") > 0;
  for (const char* name :
       {"--driver-dir", "--rx-size", "--tx-size", "--buffers", "--register-bank", "--crlf", "--rs485"}) {
    if (app.count(name) > 0 && !driver) {
      return Utf8Text(options.language, TextKey::UsageDriverOptionNeedsDriver, {{"option", name}});
    }
  }
  if (!driver) {
    return std::nullopt;
  }
  DriverOptions driverOptions;
  // The chip's memory as --target names it: the family's, or the smallest
  // of the families a target serves; the default sizes follow it.
  if (const auto memory = DriverChipMemory(texts.target)) {
    driverOptions.memory = *memory;
    driverOptions.chip = texts.target;
    driverOptions.rxSize = DefaultBufferSize(*memory);
    driverOptions.txSize = DefaultBufferSize(*memory);
  }
  if (texts.driver == "polled") {
    driverOptions.kind = DriverKind::Polled;
    for (const char* name : {"--rx-size", "--tx-size", "--buffers"}) {
      if (app.count(name) > 0) {
        return Utf8Text(options.language, TextKey::UsagePolledHasNoBuffers, {{"option", name}});
      }
    }
  } else if (texts.driver != "interrupt") {
    return Utf8Text(options.language, TextKey::UsageBadDriver, {{"value", texts.driver}});
  }
  if (app.count("--buffers") > 0) {
    if (texts.buffers != "idata" && texts.buffers != "xdata") {
      return Utf8Text(options.language, TextKey::UsageBadBuffers, {{"value", texts.buffers}});
    }
    driverOptions.space = texts.buffers == "xdata" ? BufferSpace::Xdata : BufferSpace::Idata;
  }
  const std::array<std::pair<const char*, const std::string*>, 2> sizes = {
      {{"--rx-size", &texts.rxSize}, {"--tx-size", &texts.txSize}}};
  for (const auto& [name, text] : sizes) {
    if (app.count(name) == 0) {
      continue;
    }
    const auto size = ParseCount(*text);
    std::string valid;
    for (const std::uint32_t each : ValidBufferSizes(driverOptions.space)) {
      valid += (valid.empty() ? "" : ", ") + std::to_string(each);
    }
    if (!size) {
      return Utf8Text(options.language, TextKey::UsageBadBufferSize,
                      {{"option", name}, {"value", *text}, {"sizes", valid}});
    }
    (std::string_view(name) == "--rx-size" ? driverOptions.rxSize : driverOptions.txSize) = *size;
  }
  if (app.count("--register-bank") > 0) {
    const auto bank = ParseCount(texts.registerBank);
    if (!bank || *bank > 3) {
      return Utf8Text(options.language, TextKey::UsageBadRegisterBank, {{"value", texts.registerBank}});
    }
    driverOptions.registerBank = bank;
  }
  if (app.count("--driver-dir") > 0) {
    if (texts.driverDir.empty()) {
      return Utf8Text(options.language, TextKey::UsageDriverDirEmpty);
    }
    if (app.count("--output") > 0) {
      return Utf8Text(options.language, TextKey::UsageDriverDirAndOutput);
    }
    options.driverDir = texts.driverDir;
  }
  driverOptions.crlf = texts.crlf;
  if (app.count("--rs485") > 0) {
    driverOptions.rs485 = ReadRs485Pin(texts.rs485);
    if (!driverOptions.rs485) {
      return Utf8Text(options.language, TextKey::UsageBadRs485, {{"value", texts.rs485}});
    }
  }
  // Checked here for 8N1; once the frame is known, a ninth bit's memory too.
  if (auto problem = CheckDriverOptions(driverOptions, std::max<std::size_t>(1, texts.uarts.size()), SerialFrame{},
                                        options.language)) {
    return text::GbkToUtf8(*problem).value_or(*problem);
  }
  options.driver = driverOptions;
  return std::nullopt;
}

// The clock finder's range and list length, which only --find-clock takes.
std::optional<std::string> ReadClockValues(const CLI::App& app, const OptionTexts& texts, CommandLineOptions& options) {
  const Language language = options.language;
  for (const char* name : {"--clock-range", "--limit"}) {
    if (app.count(name) > 0 && app.count("--find-clock") == 0) {
      return Utf8Text(language, TextKey::ClockOnlyWithFindClock, {{"option", name}});
    }
  }
  if (app.count("--clock-range") > 0) {
    ClockRange range;
    if (const auto problem = ParseClockRange(texts.clockRange, range)) {
      const TextKey key = *problem == ClockRangeProblem::Empty           ? TextKey::ClockRangeEmpty
                          : *problem == ClockRangeProblem::NotWholeHertz ? TextKey::ClockRangeNotHertz
                                                                         : TextKey::ClockRangeNotRange;
      return Utf8Text(language, key, {{"value", texts.clockRange}});
    }
    options.clockRange = range;
  }
  if (app.count("--limit") > 0) {
    const auto limit = answers::ReadClockLimit(texts.limit);
    if (!limit) {
      return Utf8Text(language, TextKey::ClockBadLimit,
                      {{"value", texts.limit}, {"max", std::to_string(kMaxClockLimit)}});
    }
    options.clockLimit = *limit;
  }
  return std::nullopt;
}

// Sets language to the one --lang names (the last --lang given), and
// leaves it alone when none is given; says what is wrong with a --lang that
// names neither zh nor en, in the language in effect before it.
std::optional<std::string> ReadLanguage(const std::vector<std::string>& givenOptions, Language& language) {
  constexpr std::string_view kLangOption = "--lang=";
  for (const std::string& option : givenOptions) {
    if (!option.starts_with(kLangOption)) {
      continue;
    }
    const std::string code = option.substr(kLangOption.size());
    const auto chosen = LanguageFromCode(code);
    if (!chosen) {
      return Utf8Text(language, TextKey::UsageBadLang, {{"value", code}});
    }
    language = *chosen;
  }
  return std::nullopt;
}

// What the option parser refused, in the language: the options it does not
// know, or the option it could not take as given (a value missing, a value
// that a flag does not take); the parser's own words are English only.
std::string ParseErrorText(const CLI::ParseError& error, Language language) {
  const std::string what = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::size_t colon = what.find(": ");
    return Utf8Text(language, TextKey::UsageUnknownOption,
                    {{"option", colon == std::string::npos ? what : what.substr(colon + 2)}});
  }
  const std::size_t dash = what.find('-');
  if (dash != std::string::npos) {
    const std::size_t end = what.find_first_of(" :=,", dash);
    return Utf8Text(language, TextKey::UsageOptionMisused, {{"option", what.substr(dash, end - dash)}});
  }
  return Utf8Text(language, TextKey::UsageArgumentsUnreadable);
}

// Ends parsing with a usage error that says what was wrong.
CommandLineOptions UsageError(Language language, std::string message) {
  CommandLineOptions options;
  options.language = language;
  options.action = CommandAction::UsageError;
  options.message = std::move(message);
  return options;
}

// Checks and converts the option values; the first bad one is named in the
// message.
std::optional<std::string> ReadOptionValues(const CLI::App& app, const OptionTexts& texts,
                                            CommandLineOptions& options) {
  if (app.count("--encoding") > 0) {
    const auto encoding = ParseEncoding(texts.encoding);
    if (!encoding) {
      return Utf8Text(options.language, TextKey::UsageBadEncoding, {{"value", texts.encoding}});
    }
    options.encoding = *encoding;
  }
  if (app.count("--format") > 0) {
    const auto format = ParseFormat(texts.format);
    if (!format) {
      return Utf8Text(options.language, TextKey::UsageBadFormat, {{"value", texts.format}});
    }
    options.tableFormat = *format;
  }
  if (app.count("--max-error") > 0) {
    options.maxErrorPercent = ParsePercent(texts.maxError);
    if (!options.maxErrorPercent) {
      return Utf8Text(options.language, TextKey::UsageBadMaxError, {{"value", texts.maxError}});
    }
  }
  if (app.count("--reload") > 0) {
    const auto reload = ParseReload(texts.reload);
    if (!reload) {
      return Utf8Text(options.language, TextKey::UsageBadReload, {{"value", texts.reload}});
    }
    options.reload = *reload;
    options.reloadText = texts.reload;
  }
  if (app.count("--rates") > 0) {
    const auto rates = ParseRates(texts.rates);
    if (!rates) {
      return Utf8Text(options.language, TextKey::UsageBadRates, {{"value", texts.rates}});
    }
    options.rates = *rates;
  }
  if (app.count("--find-clock") > 0 && !texts.findClock.empty()) {
    const auto rates = ParseRates(texts.findClock);
    if (!rates) {
      return Utf8Text(options.language, TextKey::ClockBadRates, {{"value", texts.findClock}});
    }
    options.rates = *rates;
  }
  if (auto problem = ReadClockValues(app, texts, options)) {
    return problem;
  }
  if (app.count("--uart-mode") > 0) {
    const auto mode = ParseUartMode(texts.uartMode);
    if (!mode) {
      return Utf8Text(options.language, TextKey::UsageBadUartMode, {{"value", texts.uartMode}});
    }
    options.uartMode = *mode;
  }
  if (app.count("--target") > 0) {
    // A part number as printed on the chip stands for its family; a name
    // that is no known chip stays as given for the target check's message.
    ChipName chip = ResolveChipName(texts.target);
    options.target = chip.kind == ChipNameKind::Part ? chip.catalogueName : texts.target;
    if (chip.kind == ChipNameKind::Part) {
      options.targetPart = std::move(chip.part);
    }
  }
  if (app.count("--parts") > 0) {
    options.partsFamily = texts.parts;
  }
  for (const std::string& text : texts.uarts) {
    UartChoice choice;
    if (auto problem = ParseUartChoice(text, choice, options.language)) {
      return problem;
    }
    options.uarts.push_back(std::move(choice));
  }
  if (app.count("--output") > 0) {
    if (texts.output.empty()) {
      return Utf8Text(options.language, TextKey::UsageOutputEmpty);
    }
    options.outputFile = texts.output;
  }
  if (app.count("--asm") > 0) {
    if (texts.asmSyntax != "a51" && texts.asmSyntax != "sdas") {
      return Utf8Text(options.language, TextKey::UsageBadAsm, {{"value", texts.asmSyntax}});
    }
    options.asmSyntax = texts.asmSyntax == "a51" ? AsmSyntax::A51 : AsmSyntax::Sdas;
  }
  if (auto problem = ReadDriverValues(app, texts, options)) {
    return problem;
  }
  if (texts.link.frameGiven) {
    const auto frame = ReadSerialFrame(texts.link.frame);
    if (!frame) {
      return Utf8Text(options.language, TextKey::LinkBadFrame,
                      {{"value", texts.link.frame}, {"frames", JoinNames(FrameNames())}});
    }
    options.frame = *frame;
  }
  return ReadLinkOptions(texts.link, options.language, options);
}

// The modes whose options are given, in the table's order; at most one of
// them may be given.
std::vector<const ViewRule*> ChosenViews(const CLI::App& app) {
  std::vector<const ViewRule*> views;
  for (const ViewRule& rule : ViewRules()) {
    if (!rule.longName.empty() && app.count(std::string(rule.longName)) > 0) {
      views.push_back(&rule);
    }
  }
  return views;
}

// Settles the action from the options and refuses combinations that would
// leave an option without effect.
std::optional<std::string> ChooseAction(const CLI::App& app, const OptionTexts& texts, std::size_t valueCount,
                                        CommandLineOptions& options) {
  std::vector<const ViewRule*> views = ChosenViews(app);
  // -o with --code is allowed: both ask for the code alone.
  if (views.size() == 2 && views[0]->view == View::Code && views[1]->view == View::Output) {
    views.erase(views.begin());
  }
  // -o with --driver (or --asm) writes the driver as one file.
  if (views.size() == 2 && views[0]->needsTarget && views[1]->view == View::Output) {
    views.pop_back();
  }
  if (views.size() > 1) {
    return Utf8Text(options.language, TextKey::UsageNotTogether,
                    {{"first", std::string(views[0]->option)}, {"second", std::string(views[1]->option)}});
  }
  const ViewRule& rule = views.empty() ? RuleOf(View::Report) : *views[0];
  const std::string view(rule.option);
  if (options.partsFamily && rule.view != View::ListTargets) {
    return Utf8Text(options.language, TextKey::UsagePartsNeedsListTargets);
  }
  if (rule.needsTarget && !options.target) {
    return Utf8Text(options.language, TextKey::UsageNeedsTarget, {{"option", view}});
  }

  if (!rule.writesCode) {
    for (const char* codeOnly : {"--encoding", "--lf"}) {
      if (app.count(codeOnly) > 0) {
        return Utf8Text(options.language, TextKey::UsageCodeOption, {{"option", codeOnly}});
      }
    }
  } else if (options.json) {
    return Utf8Text(options.language, TextKey::UsageJsonWithCode, {{"option", view}});
  }
  if (app.count("--format") > 0 && !rule.format) {
    return Utf8Text(options.language, TextKey::UsageFormatTablesOnly);
  }
  // The plan on each crystal (--table with --uart NAME:RATE) holds its UARTs
  // to --max-error; the other tables have no setting to hold.
  const bool planTable = rule.view == View::Table && IsPlanTable(options);
  if (options.maxErrorPercent && !rule.maxError && !planTable) {
    return Utf8Text(options.language,
                    rule.view == View::Table ? TextKey::UsageMaxErrorNotWithTable : TextKey::UsageMaxErrorNotWith,
                    {{"option", view}});
  }

  GivenOptions given;
  given.rule = &rule;
  given.json = options.json;
  given.format = app.count("--format") > 0;
  given.formatText = texts.format;
  given.maxError = options.maxErrorPercent.has_value();
  given.requireLink = options.link && options.link->requireLink;
  given.uartMode = app.count("--uart-mode") > 0;
  given.frame = texts.link.frameGiven;
  given.valueCount = valueCount;
  std::optional<std::string> problem = rule.settle(given, options);
  if (problem) {
    return problem;
  }
  if (auto targetProblem = CheckTargetOptions(given, options)) {
    return targetProblem;
  }
  if (auto uartProblem = CheckUartOptions(given, options)) {
    return uartProblem;
  }
  if (auto linkProblem = CheckLinkOptions(given, options)) {
    return linkProblem;
  }
  return CheckFrameOptions(given, options);
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments, Language localeLanguage) {
  // The parser sees the options only: left to itself it would take "-9600"
  // for an option. CRYSTAL and BAUD are declared below for the usage text and
  // are filled in from the values.
  SplitArguments split = SplitOptionsFromValues(arguments);
  CommandLineOptions options;
  options.language = localeLanguage;
  if (auto problem = ReadLanguage(split.options, options.language)) {
    return UsageError(options.language, std::move(*problem));
  }
  OptionTexts texts;

  const auto help = [&options](TextKey key) { return Utf8Text(options.language, key); };
  CLI::App app(help(TextKey::HelpDescription), "tesmirol-cli");
  // The parser's own words in the usage text, in the language.
  const auto formatter = app.get_formatter();
  formatter->label("Usage", help(TextKey::HelpLabelUsage));
  formatter->label("OPTIONS", help(TextKey::HelpLabelOptions));
  formatter->label("Positionals", help(TextKey::HelpLabelPositionals));
  app.option_defaults()->group(help(TextKey::HelpGroupOptions));
  app.set_help_flag("-h,--help", help(TextKey::HelpHelp));
  std::string crystal;
  std::string baud;
  app.add_option("CRYSTAL", crystal, help(TextKey::HelpCrystal))->type_name("");
  app.add_option("BAUD", baud, help(TextKey::HelpBaud))->type_name("");
  app.add_flag("--json", options.json, help(TextKey::HelpJson));
  app.add_flag("--code", texts.code, help(TextKey::HelpCode));
  app.add_option("-o,--output", texts.output, help(TextKey::HelpOutput))->type_name("FILE");
  app.add_option("--encoding", texts.encoding, help(TextKey::HelpEncoding))->type_name("ENC");
  app.add_flag("--lf", options.lineFeedsOnly, help(TextKey::HelpLf));
  app.add_option("--max-error", texts.maxError, help(TextKey::HelpMaxError))->type_name("PCT");
  app.add_flag("--table", texts.table, help(TextKey::HelpTable));
  app.add_option("--format", texts.format, help(TextKey::HelpFormat))->type_name("FMT");
  app.add_option("--reload", texts.reload, help(TextKey::HelpReload))->type_name("TH1");
  app.add_flag("--list-presets", texts.listPresets, help(TextKey::HelpListPresets));
  app.add_option("--target", texts.target, help(TextKey::HelpTarget))->type_name("NAME");
  app.add_flag("--list-targets", texts.listTargets, help(TextKey::HelpListTargets));
  app.add_option("--parts", texts.parts, help(TextKey::HelpParts))->type_name("FAMILY");
  app.add_option("--rates", texts.rates, help(TextKey::HelpRates))->type_name("LIST");
  app.add_option("--find-clock", texts.findClock, help(TextKey::ClockHelpFindClock))
      ->type_name("[LIST]")
      ->expected(0, 1);
  app.add_option("--clock-range", texts.clockRange, help(TextKey::ClockHelpClockRange))->type_name("LOW..HIGH");
  app.add_option("--limit", texts.limit, help(TextKey::ClockHelpLimit))->type_name("N");
  app.add_option("--uart-mode", texts.uartMode, help(TextKey::HelpUartMode))->type_name("N");
  // Read from the option's raw results after parsing: each --uart is one
  // value, kept in the order given.
  CLI::Option* uartOption = app.add_option("--uart")->description(help(TextKey::HelpUart));
  uartOption->type_name("NAME[:RATE]")->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--driver", texts.driver, help(TextKey::HelpDriver))->type_name("[interrupt|polled]");
  app.add_option("--asm", texts.asmSyntax, help(TextKey::HelpAsm))->type_name("a51|sdas");
  app.add_option("--driver-dir", texts.driverDir, help(TextKey::HelpDriverDir))->type_name("DIR");
  app.add_option("--rx-size", texts.rxSize, help(TextKey::HelpRxSize))->type_name("N");
  app.add_option("--tx-size", texts.txSize, help(TextKey::HelpTxSize))->type_name("N");
  app.add_option("--buffers", texts.buffers, help(TextKey::HelpBuffers))->type_name("idata|xdata");
  app.add_option("--register-bank", texts.registerBank, help(TextKey::HelpRegisterBank))->type_name("N");
  app.add_option("--rs485", texts.rs485, help(TextKey::HelpRs485))->type_name("PIN");
  app.add_flag("--crlf", texts.crlf, help(TextKey::HelpCrlf));
  CLI::Option* peerOption = app.add_option("--peer")->description(PeerHelp(options.language));
  peerOption->type_name("[UART=]PEER")->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--clock-tolerance", texts.link.tolerance, ClockToleranceHelp(options.language))->type_name("TOL");
  app.add_option("--frame", texts.link.frame, FrameHelp(options.language))->type_name("FRAME");
  app.add_flag("--require-link", texts.link.requireLink, RequireLinkHelp(options.language));
  std::string languageCode;
  app.add_option("--lang", languageCode, help(TextKey::HelpLang))
      ->type_name("zh|en")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--version", texts.version, help(TextKey::HelpVersion));
  app.footer(UsageFooter(options.language));

  std::reverse(split.options.begin(), split.options.end());  // the parser takes from the back
  try {
    app.parse(split.options);
  } catch (const CLI::CallForHelp&) {
    options.action = CommandAction::ShowHelp;
    options.message = app.help();
    return options;
  } catch (const CLI::ParseError& error) {
    return UsageError(options.language, ParseErrorText(error, options.language));
  }

  if (split.values.size() > 2) {
    return UsageError(options.language,
                      Utf8Text(options.language, TextKey::UsageUnexpectedArgument, {{"value", split.values[2]}}));
  }
  if (!split.values.empty()) {
    options.crystal = split.values[0];
  }
  if (split.values.size() > 1) {
    options.baud = split.values[1];
  }
  texts.uarts = uartOption->results();
  texts.link.peerGiven = app.count("--peer") > 0;
  texts.link.peers = peerOption->results();
  texts.link.toleranceGiven = app.count("--clock-tolerance") > 0;
  texts.link.frameGiven = app.count("--frame") > 0;
  if (texts.version) {
    options.action = CommandAction::ShowVersion;
    return options;
  }
  if (auto problem = ReadOptionValues(app, texts, options)) {
    return UsageError(options.language, std::move(*problem));
  }
  if (auto problem = ChooseAction(app, texts, split.values.size(), options)) {
    return UsageError(options.language, std::move(*problem));
  }
  return options;
}

}  // namespace tesmirol::cli
