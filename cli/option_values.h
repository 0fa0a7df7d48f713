#pragma once
// The values of options as the user writes them, read and checked.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers/finder_texts.h"
#include "cli/command_line_options.h"

namespace tesmirol::cli {

// The text in lower case (ASCII letters only), for names given in any case.
std::string LowerCase(std::string_view text);

// A reload value: "0xFD" or "0xFFE8" (any case) or decimal, from 0 to 65535;
// the mode checks it against the register's width.
std::optional<std::uint32_t> ParseReload(std::string_view text);

// A percentage: a decimal number of 0 or more, optionally followed by "%".
std::optional<double> ParsePercent(std::string_view text);

std::optional<CodeEncoding> ParseEncoding(std::string_view text);

std::optional<TableFormat> ParseFormat(std::string_view text);

// A list of rates, "9600,115200": whole numbers above 0 separated by commas.
std::optional<std::vector<std::int32_t>> ParseRates(std::string_view text);

using answers::ClockRangeProblem;

// A clock range, "4MHz..35MHz": two frequencies read as CRYSTAL is read
// (exact decimals, M or K anywhere), each whole hertz, joined by "..".
// Returns what is wrong, or nothing and fills range.
std::optional<ClockRangeProblem> ParseClockRange(std::string_view text, ClockRange& range);

// The UART mode: 1 (8 data bits) or 3 (9 data bits).
std::optional<UartMode> ParseUartMode(std::string_view text);

// A --uart value: NAME or NAME:RATE, NAME a UART's number or name ("2",
// "uart2", "UART2"), RATE a whole number above 0. Returns what is wrong, or
// nothing and fills choice.
std::optional<std::string> ParseUartChoice(std::string_view text, UartChoice& choice, Language language);

}  // namespace tesmirol::cli
