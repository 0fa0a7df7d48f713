#pragma once
// The checks that settle what a command line asks for, one small file per
// mode: the calculation (report, check, code), the tables (--table,
// --rates), the rates of a reload, the listings, and what --target allows.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line_options.h"

namespace tesmirol::cli {

struct GivenOptions;

// The options that choose what is printed (at most one of them; none: the
// report).
enum class View { FindClock, Driver, Asm, Code, Output, Table, Reload, Rates, ListPresets, ListTargets, Report };

// One row of the table of modes: the option that chooses it and what goes
// with it. Every rule about which options go with which mode reads this
// table.
struct ViewRule {
  View view;
  std::string_view option;    // as the messages name it ("-o"); "" for the report
  std::string_view longName;  // as the parser knows it ("--output")
  // Settles the action (and the mode's own rules).
  std::optional<std::string> (*settle)(const GivenOptions& given, CommandLineOptions& options);
  bool writesCode;   // the generated code alone: --encoding and --lf, not --json
  bool carriesCode;  // the report or the code: --uart-mode, and --frame without --peer
  bool needsTarget;  // the driver and the assembly text exist for targets only
  bool format;       // --format (--json stands for --format json)
  bool maxError;     // --max-error (--table: only for a plan on each crystal)
  bool target;       // --target
  bool uart;         // --uart
  bool peer;         // --peer
};

// The table, in the order the options are named when two are given together.
std::span<const ViewRule> ViewRules() noexcept;
const ViewRule& RuleOf(View view) noexcept;

// Which options the command line holds, read before the mode is settled.
struct GivenOptions {
  const ViewRule* rule = &RuleOf(View::Report);  // what is printed
  bool json = false;
  bool format = false;
  std::string formatText;
  bool maxError = false;
  bool requireLink = false;  // --require-link: a build check like --max-error
  bool uartMode = false;
  bool frame = false;          // --frame
  std::size_t valueCount = 0;  // CRYSTAL and BAUD given
};

// "a, b, c": names joined for a message that lists what is valid.
std::string JoinNames(const std::vector<std::string>& names);

// Each returns what is wrong (one line), or nothing and sets options.action.
std::optional<std::string> SettleCalculationMode(const GivenOptions& given, CommandLineOptions& options);
std::optional<std::string> SettleTableMode(const GivenOptions& given, CommandLineOptions& options);
std::optional<std::string> SettleRatesMode(const GivenOptions& given, CommandLineOptions& options);
std::optional<std::string> SettleClockMode(const GivenOptions& given, CommandLineOptions& options);
std::optional<std::string> SettleReloadMode(const GivenOptions& given, CommandLineOptions& options);
std::optional<std::string> SettleListingMode(const GivenOptions& given, CommandLineOptions& options);

// What --target (or its absence) allows in the settled mode: a known target
// or family, a reload that fits the target's register, one target (not a
// family) for --reload, --uart-mode only with a target. The message lists
// what is valid.
std::optional<std::string> CheckTargetOptions(const GivenOptions& given, const CommandLineOptions& options);

// The message for a --target the catalogue cannot solve for: a known part
// whose family has no generator yet says so; any other name gets the
// nearest known names (NearestChipNames), or the whole list when none is near.
std::string UnknownTargetText(const std::string& given, Language language);

// What --uart allows: a --target that is a chip family or a target of that
// UART, each UART of the chip at most once, and in each mode the forms it
// takes (the report and the code: NAME:RATE, or NAME at BAUD; --table one
// NAME, or NAME:RATE for every UART; --rates one NAME). The message lists
// what is valid.
std::optional<std::string> CheckUartOptions(const GivenOptions& given, const CommandLineOptions& options);

// What --frame allows and what it sets: without --peer, a target's code
// only (the report, --code, -o, --driver, --asm); a frame of mode 3 not
// against --uart-mode 1, nor 8N1 against --uart-mode 3; --uart-mode 3
// alone stands for 9N1. Sets the code's frame and UART mode, and the
// link's frame to the code's.
std::optional<std::string> CheckFrameOptions(const GivenOptions& given, CommandLineOptions& options);

// Whether --table asks for the plan on each crystal: --uart given, each with
// its rate.
bool IsPlanTable(const CommandLineOptions& options) noexcept;

}  // namespace tesmirol::cli
