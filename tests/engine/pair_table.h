#pragma once
// The calculation tables written by the exact reference model
// (tests/reference/baud_reference.py): one line per pair of input texts with
// every value the engine and the code generator must produce for it, floating
// values as bit patterns. The engine and codegen tests both read them.

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/baud_calculation.h"

namespace tesmirol::pair_table {

// One SMOD setting as the reference computes it.
struct ExpectedMode {
  std::int32_t reload = 0;
  std::int32_t divisor = 0;
  std::int32_t achieved = 0;
  std::uint64_t deviationBits = 0;
  std::uint64_t deviationAbsBits = 0;
  ModeStatus status = ModeStatus::Ok;
  std::string deviationText;
};

// Everything a calculation with a result must give.
struct ExpectedResult {
  std::string crystalText;
  std::int32_t baud = 0;
  std::int32_t crystalHz = 0;
  std::int32_t minBps = 0;
  std::int32_t maxBps = 0;
  std::uint32_t frequencyBits = 0;
  std::array<ExpectedMode, 2> mode{};
  std::string outcome;     // Nothing, Warning or Code
  std::string reloadText;  // for Code, such as 0xFD; "-" otherwise
  std::string pcon;        // for Code, the PCON statement; "-" otherwise
};

// One line: a named (typed tables) or unnamed (preset table) pair of texts.
struct ExpectedPair {
  std::string name;
  std::string crystal;
  std::string baud;
  std::optional<ExpectedResult> result;  // empty: the pair gives no result
};

// The pairs of a table, or the text of the first line that does not parse.
struct Table {
  std::vector<ExpectedPair> pairs;
  std::string badLine;
};

// The texts' fields use backslash escapes (\\, \t, \n, \v, \f, \r, \xHH) so
// that GBK bytes and white space survive a tab-separated line.
inline std::optional<std::string> Unescape(std::string_view field) {
  std::string bytes;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      bytes += field[i];
      continue;
    }
    if (++i == field.size()) {
      return std::nullopt;
    }
    switch (field[i]) {
      case '\\':
        bytes += '\\';
        break;
      case 't':
        bytes += '\t';
        break;
      case 'n':
        bytes += '\n';
        break;
      case 'v':
        bytes += '\v';
        break;
      case 'f':
        bytes += '\f';
        break;
      case 'r':
        bytes += '\r';
        break;
      case 'x': {
        unsigned value = 0;
        const std::string_view digits = field.substr(i + 1, 2);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc{} || end != digits.data() + digits.size() || digits.size() != 2) {
          return std::nullopt;
        }
        bytes += static_cast<char>(static_cast<unsigned char>(value));
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return bytes;
}

// A whole field as an integer in the given base, or no result.
template <typename Integer>
std::optional<Integer> ParseNumber(std::string_view field, int base = 10) {
  Integer value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, base);
  if (field.empty() || error != std::errc{} || end != field.data() + field.size()) {
    return std::nullopt;
  }
  return value;
}

inline std::optional<ModeStatus> ParseStatus(std::string_view field) {
  if (field == "TooLow") {
    return ModeStatus::TooLow;
  }
  if (field == "TooHigh") {
    return ModeStatus::TooHigh;
  }
  if (field == "Ok") {
    return ModeStatus::Ok;
  }
  return std::nullopt;
}

inline std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

// Seven fields of one mode, starting at fields[at].
inline std::optional<ExpectedMode> ParseMode(const std::vector<std::string_view>& fields, std::size_t at) {
  const auto reload = ParseNumber<std::int32_t>(fields[at]);
  const auto divisor = ParseNumber<std::int32_t>(fields[at + 1]);
  const auto achieved = ParseNumber<std::int32_t>(fields[at + 2]);
  const auto deviationBits = ParseNumber<std::uint64_t>(fields[at + 3], 16);
  const auto deviationAbsBits = ParseNumber<std::uint64_t>(fields[at + 4], 16);
  const auto status = ParseStatus(fields[at + 5]);
  if (!reload || !divisor || !achieved || !deviationBits || !deviationAbsBits || !status) {
    return std::nullopt;
  }
  return ExpectedMode{.reload = *reload,
                      .divisor = *divisor,
                      .achieved = *achieved,
                      .deviationBits = *deviationBits,
                      .deviationAbsBits = *deviationAbsBits,
                      .status = *status,
                      .deviationText = std::string(fields[at + 6])};
}

// One table line; `named` tables carry the case name in front.
inline std::optional<ExpectedPair> ParseLine(std::string_view line, bool named) {
  std::vector<std::string_view> fields = SplitFields(line);
  ExpectedPair pair;
  if (named) {
    pair.name = std::string(fields.front());
    fields.erase(fields.begin());
  }
  constexpr std::size_t kFieldsWithResult = 25;
  if (fields.size() < 3) {
    return std::nullopt;
  }
  const auto crystal = Unescape(fields[0]);
  const auto baud = Unescape(fields[1]);
  if (!crystal || !baud) {
    return std::nullopt;
  }
  pair.crystal = *crystal;
  pair.baud = *baud;
  if (fields.size() == 3 && fields[2] == "none") {
    return pair;
  }
  if (fields.size() != kFieldsWithResult) {
    return std::nullopt;
  }
  const auto crystalText = Unescape(fields[2]);
  const auto baudValue = ParseNumber<std::int32_t>(fields[3]);
  const auto crystalHz = ParseNumber<std::int32_t>(fields[4]);
  const auto minBps = ParseNumber<std::int32_t>(fields[5]);
  const auto maxBps = ParseNumber<std::int32_t>(fields[6]);
  const auto frequencyBits = ParseNumber<std::uint32_t>(fields[7], 16);
  const auto mode0 = ParseMode(fields, 8);
  const auto mode1 = ParseMode(fields, 15);
  if (!crystalText || !baudValue || !crystalHz || !minBps || !maxBps || !frequencyBits || !mode0 || !mode1) {
    return std::nullopt;
  }
  pair.result = ExpectedResult{.crystalText = *crystalText,
                               .baud = *baudValue,
                               .crystalHz = *crystalHz,
                               .minBps = *minBps,
                               .maxBps = *maxBps,
                               .frequencyBits = *frequencyBits,
                               .mode = {*mode0, *mode1},
                               .outcome = std::string(fields[22]),
                               .reloadText = std::string(fields[23]),
                               .pcon = std::string(fields[24])};
  return pair;
}

// All lines of a table; lines starting with '#' are comments.
inline Table ParseTable(std::string_view text, bool named) {
  Table table;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);  // a checkout that turned the line ends into CR LF
    }
    if (line.empty() || line.front() == '#') {
      continue;
    }
    std::optional<ExpectedPair> pair = ParseLine(line, named);
    if (!pair) {
      table.badLine = std::string(line);
      return table;
    }
    table.pairs.push_back(std::move(*pair));
  }
  return table;
}

// The table embedded at build time as bytes.
inline Table ParseEmbeddedTable(std::span<const unsigned char> bytes, bool named) {
  std::string text;
  text.reserve(bytes.size());
  for (const unsigned char byte : bytes) {
    text += static_cast<char>(byte);
  }
  return ParseTable(text, named);
}

// How a failure names a pair: its case name if any, then both texts quoted.
inline std::string PairLabel(const ExpectedPair& pair) {
  std::string label;
  if (!pair.name.empty()) {
    label.append(pair.name).append(": ");
  }
  label.append("\"").append(pair.crystal).append("\" \"").append(pair.baud).append("\":");
  return label;
}

// Checks every pair with compare, which returns an empty text for a pair that
// matches and the differences otherwise, and fails once, listing the first
// pairs that differ.
template <class Compare>
void ExpectEveryPair(const std::vector<ExpectedPair>& pairs, Compare compare) {
  constexpr std::size_t kMismatchesShown = 30;
  std::size_t mismatches = 0;
  std::string report;
  for (const ExpectedPair& pair : pairs) {
    const std::string differences = compare(pair);
    if (!differences.empty() && ++mismatches <= kMismatchesShown) {
      report.append("\n  ").append(PairLabel(pair)).append(differences);
    }
  }
  EXPECT_EQ(mismatches, 0U) << mismatches << " of " << pairs.size() << " pairs differ from the reference:" << report;
}

}  // namespace tesmirol::pair_table
