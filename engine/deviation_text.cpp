#include "engine/deviation_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// Writes the magnitude in scientific notation with the given number of
// digits after the point, correctly rounded.
std::string_view Scientific(double magnitude, int precision, std::array<char, 832>& buffer) {
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific, precision);
  return {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
}

// Reads "d.ddd...e+XX" into digits (at most kSignificantDigits + 1 of them)
// and the exponent.
DecimalDigits ParseScientific(std::string_view text) {
  const std::size_t exponentPos = text.find('e');
  DecimalDigits decimal;
  for (const char ch : text.substr(0, exponentPos)) {
    if (ch != '.' && decimal.digits.size() < kSignificantDigits + 1) {
      decimal.digits += ch;
    }
  }
  std::string_view exponentText = text.substr(exponentPos + 1);
  if (!exponentText.empty() && exponentText.front() == '+') {
    exponentText.remove_prefix(1);
  }
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), decimal.exponent);
  return decimal;
}

// Digits after the point that write the magnitude exactly in scientific
// notation (at least enough for kSignificantDigits + 1 digits). A double is
// m x 2^-k with m odd, which has exactly k decimals; its significant digits
// are those decimals plus the digits before the point, less leading zeros.
int ExactPrecision(double magnitude) {
  int binaryExponent = 0;
  const double fraction = std::frexp(magnitude, &binaryExponent);  // magnitude = fraction x 2^binaryExponent
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int decimals = std::max(0, 53 - binaryExponent - std::countr_zero(mantissa));
  // An upper bound of the decimal exponent: log10(2) < 0.30103.
  const int decimalExponent = static_cast<int>(std::ceil((binaryExponent - 1) * 0.30103)) + 1;
  return std::max(kSignificantDigits, decimalExponent + decimals);
}

// The exact decimal expansion of a finite, non-zero magnitude cut after
// kSignificantDigits + 1 digits (no rounding yet).
DecimalDigits ExactLeadingDigits(double magnitude) {
  std::array<char, 832> buffer{};
  return ParseScientific(Scientific(magnitude, ExactPrecision(magnitude), buffer));
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
    const bool inside = index >= 0 && index < static_cast<int>(decimal.digits.size());
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
