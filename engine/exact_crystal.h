#pragma once
// The crystal text read as an exact decimal, for the exact solver.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tesmirol {

// A crystal frequency in hertz as an exact fraction in lowest terms.
struct ExactFrequency {
  std::uint64_t numerator = 0;
  std::uint64_t denominator = 1;
};

// Reads the crystal text exactly, with CalculateBaud's grammar (leading
// white space, digits with at most one point, an optional exponent) and
// units (any M: megahertz, otherwise any K: kilohertz, otherwise hertz;
// GBK-aware, any case): "11.0592MHz" is 11059200/1 Hz, "7.9296875MHz"
// 15859375/2 Hz. No result for an empty or negative or zero frequency, one of
// 2^40 Hz or more, or one that needs a denominator above 10^9 or more than 16
// significant digits.
std::optional<ExactFrequency> ReadExactCrystal(std::string_view crystalText);

}  // namespace tesmirol
