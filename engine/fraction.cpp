#include "engine/fraction.h"

#include <numeric>

namespace tesmirol {
namespace {

__extension__ using Uint128 = unsigned __int128;

}  // namespace

Fraction ReducedFraction(std::uint64_t numerator, std::uint64_t denominator) noexcept {
  const std::uint64_t divisor = std::gcd(numerator, denominator);
  if (divisor <= 1) {
    return Fraction{numerator, denominator};
  }
  return Fraction{numerator / divisor, denominator / divisor};
}

double FractionValue(const Fraction& fraction) noexcept {
  return static_cast<double>(fraction.numerator) / static_cast<double>(fraction.denominator);
}

bool IsLess(const Fraction& a, const Fraction& b) noexcept {
  return Uint128{a.numerator} * b.denominator < Uint128{b.numerator} * a.denominator;
}

bool IsEqual(const Fraction& a, const Fraction& b) noexcept {
  return Uint128{a.numerator} * b.denominator == Uint128{b.numerator} * a.denominator;
}

}  // namespace tesmirol
