#pragma once
// What the user asked for on the command line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers/finder_texts.h"
#include "cli/link_options.h"
#include "codegen/code_bytes.h"
#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "codegen/uart_driver.h"
#include "engine/language.h"
#include "engine/serial_frame.h"

namespace tesmirol::cli {

// The inputs the dialog starts with, used when CRYSTAL or BAUD is left out.
inline constexpr std::string_view kDefaultCrystal = "11.0592MHz";
inline constexpr std::string_view kDefaultBaud = "9600";

// The value that makes --table run down a whole preset list.
inline constexpr std::string_view kAllPresets = "all";

enum class CommandAction {
  Report,        // calculate for CRYSTAL and BAUD and print the report
  Check,         // only hold the chosen setting to --max-error
  Code,          // write the generated code alone (standard output or -o FILE)
  Table,         // the crystal finder: rows over the preset lists
  ReloadRates,   // the rates one reload value gives CRYSTAL
  FindCrystals,  // the crystal finder for a list of rates (--rates)
  FindClocks,    // the clock finder: the clocks that give every rate (--find-clock)
  ListPresets,   // print the crystal and baud preset lists
  ListTargets,   // print the target catalogue
  ShowHelp,      // print the usage text
  ShowVersion,   // print the program's version
  UsageError,    // the arguments make no sense; say why
};

using CodeEncoding = tesmirol::CodeEncoding;

// One --uart: a UART of the chip, and the rate asked of it when given
// ("--uart 2:9600"); without a rate the UART runs at BAUD, or (with --table
// or --rates) stands for its generators.
struct UartChoice {
  std::string uart;                  // the catalogue's name, "UART2"
  std::optional<std::int32_t> baud;  // above 0; none: BAUD, or the UART's generators
  std::string given;                 // as given, for messages
};

enum class TableFormat { Text, Csv, Markdown, Json };

// --clock-range LOW..HIGH: where the clock finder looks, in whole hertz.
struct ClockRange {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::string given;  // as given, for messages
};

// The most clocks --find-clock lists unless --limit says otherwise, and the
// most --limit allows.
using answers::kDefaultClockLimit;
using answers::kMaxClockLimit;

struct CommandLineOptions {
  CommandAction action = CommandAction::Report;
  Language language = Language::Chinese;  // --lang, else the locale's
  std::optional<std::string> crystal;     // UTF-8, as given
  std::optional<std::string> baud;        // UTF-8, as given
  bool json = false;

  // The generated code: where it goes (empty or "-": standard output), the
  // bytes it is written in, and whether CR LF becomes LF.
  std::string outputFile;
  CodeEncoding encoding = CodeEncoding::Utf8;
  bool lineFeedsOnly = false;

  // The largest deviation in percent the chosen setting may have.
  std::optional<double> maxErrorPercent;

  TableFormat tableFormat = TableFormat::Text;
  std::uint32_t reload = 0;  // for ReloadRates: 0 to 255, or to the target's register width
  std::string reloadText;    // the reload as given, for messages

  // --target: a target of the catalogue or a chip family, as given (a part
  // number of a supported family is replaced by its family); none for the
  // dialog's own calculation.
  std::optional<std::string> target;
  // The part number --target named, without its tail, when it named one.
  std::optional<std::string> targetPart;
  // --parts FAMILY with --list-targets: list the family's part numbers.
  std::optional<std::string> partsFamily;
  std::vector<std::int32_t> rates;       // for FindCrystals and FindClocks (none: the --uart rates)
  std::optional<ClockRange> clockRange;  // for FindClocks; none: the chip's clock steps
  std::size_t clockLimit = kDefaultClockLimit;
  UartMode uartMode = UartMode::Mode1;  // of the generated code, with a target
  // The frame of the generated code (--frame; 9N1 for --uart-mode 3 alone),
  // whose UART mode uartMode is once the options are settled.
  SerialFrame frame{};
  std::vector<UartChoice> uarts;  // --uart, in the order given; with a target only

  // --driver: the serial driver instead of the init code alone (action
  // Code), as one text, or as uartN.h and uartN.c in driverDir when given.
  std::optional<DriverOptions> driver;
  std::string driverDir;

  // --asm: the init function and the polled driver in assembly, in this
  // syntax, instead of the C init code (action Code).
  std::optional<AsmSyntax> asmSyntax;

  // --peer and its companions: the serial link checked beside the
  // calculation; none without --peer.
  std::optional<LinkRequest> link;

  std::string message;  // the usage text for ShowHelp, what was wrong for UsageError
};

// Reads the arguments (UTF-8, without the program name); the texts speak
// --lang's language, or the locale's when --lang is not given. An argument that
// starts with a minus sign and then a digit or a point (-9600, -.5MHz) is a
// value, not an option, and "--" makes every later argument a value. Options
// that take a value take the next argument whatever it looks like.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments, Language localeLanguage);

}  // namespace tesmirol::cli
