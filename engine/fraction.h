#pragma once
// A non-negative exact fraction of two 64-bit integers: a rate in hertz that
// a baud-rate generator really gives, or a share such as how far a receiver
// lets the incoming rate stray from its own.

#include <cstdint>

namespace tesmirol {

struct Fraction {
  std::uint64_t numerator = 0;
  std::uint64_t denominator = 1;  // above 0
};

// numerator / denominator in lowest terms; the denominator must be above 0.
Fraction ReducedFraction(std::uint64_t numerator, std::uint64_t denominator) noexcept;

// The value as a double, for display only.
double FractionValue(const Fraction& fraction) noexcept;

// a < b, exactly (the cross products fit 128 bits).
bool IsLess(const Fraction& a, const Fraction& b) noexcept;

// a and b are the same number, in whatever terms.
bool IsEqual(const Fraction& a, const Fraction& b) noexcept;

}  // namespace tesmirol
