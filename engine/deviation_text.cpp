#include "engine/deviation_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tesmirol {
namespace {

// Significant digits the value is first written with, before it is cut to two
// decimals; the digit after the last of them decides, half up.
constexpr int kSignificantDigits = 17;

// Digits of the magnitude as d0.d1d2... x 10^exponent.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// A non-negative integer in base 10^9, least significant limb first: wide
// enough for the exact decimal value of any double.
using BigDecimal = std::vector<std::uint32_t>;

constexpr std::uint32_t kLimbBase = 1'000'000'000;
constexpr int kLimbDigits = 9;

// Multiplies the number by factor (below 2^32) in place.
void MultiplyBy(BigDecimal& number, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : number) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % kLimbBase);
    carry = product / kLimbBase;
  }
  while (carry != 0) {
    number.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
    carry /= kLimbBase;
  }
}

// Multiplies the number by base^count, a few powers at a time.
void MultiplyByPower(BigDecimal& number, std::uint32_t base, std::uint32_t stepFactor, int stepCount, int count) {
  for (; count >= stepCount; count -= stepCount) {
    MultiplyBy(number, stepFactor);
  }
  for (; count > 0; --count) {
    MultiplyBy(number, base);
  }
}

// All decimal digits of the number, without leading zeros.
std::string DigitsOf(const BigDecimal& number) {
  std::string digits = std::to_string(number.back());
  for (std::size_t limb = number.size() - 1; limb-- > 0;) {
    const std::string part = std::to_string(number[limb]);
    digits.append(static_cast<std::size_t>(kLimbDigits) - part.size(), '0');
    digits += part;
  }
  return digits;
}

// The exact decimal expansion of a finite, non-zero magnitude cut after
// kSignificantDigits + 1 digits (no rounding yet). The double is m x 2^k with
// an integer m: for k >= 0 that is the integer m x 2^k; for k < 0 it is
// m x 5^-k x 10^k, whose digits are those of the integer m x 5^-k.
DecimalDigits ExactLeadingDigits(double magnitude) {
  int binaryExponent = 0;
  const double fraction = std::frexp(magnitude, &binaryExponent);  // magnitude = fraction x 2^binaryExponent
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int powerOfTwo = binaryExponent - 53;

  BigDecimal number{static_cast<std::uint32_t>(mantissa % kLimbBase)};
  if (mantissa >= kLimbBase) {
    number.push_back(static_cast<std::uint32_t>(mantissa / kLimbBase % kLimbBase));
    number.push_back(static_cast<std::uint32_t>(mantissa / kLimbBase / kLimbBase));
  }
  if (powerOfTwo >= 0) {
    MultiplyByPower(number, 2, 1U << 29U, 29, powerOfTwo);
  } else {
    MultiplyByPower(number, 5, 1'220'703'125, 13, -powerOfTwo);  // 5^13 < 2^32
  }
  while (number.size() > 1 && number.back() == 0) {
    number.pop_back();
  }

  const std::string digits = DigitsOf(number);
  DecimalDigits decimal;
  decimal.digits = digits.substr(0, kSignificantDigits + 1);
  decimal.exponent = static_cast<int>(digits.size()) - 1 + std::min(powerOfTwo, 0);
  return decimal;
}

// Adds one to the last digit of a decimal digit string, carrying leftwards;
// returns true when the carry ran out of the front (999 -> 000).
bool IncrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// Rounds to kSignificantDigits, half up on the next digit.
void RoundToSignificantDigits(DecimalDigits& decimal) {
  const bool roundUp = decimal.digits.size() > kSignificantDigits && decimal.digits[kSignificantDigits] >= '5';
  decimal.digits.resize(kSignificantDigits, '0');
  if (roundUp && IncrementDigits(decimal.digits)) {
    decimal.digits.insert(decimal.digits.begin(), '1');
    decimal.digits.pop_back();
    ++decimal.exponent;
  }
}

// The magnitude in hundredths, as a digit string, rounded half up on the
// thousandths digit.
std::string Hundredths(const DecimalDigits& decimal) {
  // Digits of weight 10^top down to 10^-2, read off the significant digits;
  // the digit of weight 10^-3 decides the rounding.
  const int top = decimal.exponent > 0 ? decimal.exponent : 0;
  const auto digitOfWeight = [&decimal](int weight) {
    const int index = decimal.exponent - weight;
    const bool inside = index >= 0 && std::cmp_less(index, decimal.digits.size());
    return inside ? decimal.digits[static_cast<std::size_t>(index)] : '0';
  };
  std::string fixed;
  for (int weight = top; weight >= -2; --weight) {
    fixed += digitOfWeight(weight);
  }
  const bool roundUp = digitOfWeight(-3) >= '5';
  if (roundUp && IncrementDigits(fixed)) {
    fixed.insert(fixed.begin(), '1');
  }
  return fixed;
}

}  // namespace

std::string FormatDeviation(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  if (value == 0.0) {
    return "0.00";  // either zero, with no sign
  }
  std::string text = value < 0.0 ? "-" : "";
  DecimalDigits decimal = ExactLeadingDigits(std::fabs(value));
  RoundToSignificantDigits(decimal);
  std::string hundredths = Hundredths(decimal);

  // hundredths has at least three digits (weights 10^0 to 10^-2); drop the
  // leading zeros of the integer part but keep its units digit.
  const std::size_t integerDigits = hundredths.size() - 2;
  std::size_t firstKept = 0;
  while (firstKept + 1 < integerDigits && hundredths[firstKept] == '0') {
    ++firstKept;
  }
  text.append(hundredths, firstKept, integerDigits - firstKept);
  text += '.';
  text.append(hundredths, integerDigits, 2);
  return text;
}

}  // namespace tesmirol
