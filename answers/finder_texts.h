#pragma once
// The finders' inputs as the user writes them, read by one rule for the
// command line's options and the page's boxes: a list of rates, a
// percentage, a clock range and the most clocks to list.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tesmirol::answers {

// The most clocks the clock finder lists unless told, and the most it may
// be told.
inline constexpr std::size_t kDefaultClockLimit = 20;
inline constexpr std::size_t kMaxClockLimit = 1000;

// A list of rates, "9600,115200": whole numbers above 0 separated by commas.
std::optional<std::vector<std::int32_t>> ReadRateList(std::string_view text);

// A percentage: a decimal number of 0 or more, optionally followed by "%".
std::optional<double> ReadPercent(std::string_view text);

// What is wrong with a clock range.
enum class ClockRangeProblem {
  NotRange,       // no ".." between two texts
  NotWholeHertz,  // a side that is no frequency of whole hertz above 0
  Empty,          // LOW above HIGH
};

struct ClockBounds {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
};

// A clock range, "4MHz..35MHz" (GBK): two frequencies read as a crystal
// text is read (exact decimals, M or K anywhere), each whole hertz, joined
// by "..". Returns what is wrong, or nothing and fills bounds.
std::optional<ClockRangeProblem> ReadClockRange(std::string_view gbk, ClockBounds& bounds);

// The most clocks to list: a whole number from 1 to kMaxClockLimit.
std::optional<std::size_t> ReadClockLimit(std::string_view text);

}  // namespace tesmirol::answers
