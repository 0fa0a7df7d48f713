#include "engine/exact_crystal.h"

#include <cstddef>
#include <string>

#include "text/gbk_text.h"

namespace tesmirol {
namespace {

constexpr bool IsSpace(char ch) noexcept {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

constexpr bool IsDigit(char ch) noexcept { return ch >= '0' && ch <= '9'; }

constexpr std::uint64_t kMaxHertz = std::uint64_t{1} << 40U;
constexpr std::uint64_t kMaxDenominator = 1'000'000'000U;
// 16 digits keep the numerator below 10^16 < 2^55, so a rate the
// mantissa/exponent generator multiplies by up to 511 still fits 64 bits
// in lowest terms.
constexpr std::size_t kMaxSignificantDigits = 16;
constexpr long kMaxExponent = 40;  // beyond this, no frequency we accept

// A decimal number as significant digits and a power of ten.
struct Decimal {
  std::uint64_t digits = 0;  // without leading or trailing zeros
  long exponent = 0;         // value = digits x 10^exponent
};

// Reads the exponent after an E: sign and digits; saturates far beyond any
// exponent a frequency we accept can have. No result without digits.
std::optional<long> ReadExponent(std::string_view text, std::size_t& pos) {
  std::size_t at = pos;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  if (at >= text.size() || !IsDigit(text[at])) {
    return std::nullopt;
  }
  long value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (value < 1'000'000) {
      value = value * 10 + (text[at] - '0');
    }
  }
  pos = at;
  return negative ? -value : value;
}

// The leading number of the text, as scanf's "%f" delimits it, exactly.
// No result without a digit, for a minus sign, or for too many digits.
std::optional<Decimal> ReadDecimal(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) {
    ++pos;
  }
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') {
      return std::nullopt;  // a negative frequency: nothing to solve
    }
    ++pos;
  }
  std::string significant;  // digits from the first non-zero one
  long exponent = 0;
  bool seenDigit = false;
  bool seenPoint = false;
  for (; pos < text.size(); ++pos) {
    const char ch = text[pos];
    if (ch == '.' && !seenPoint) {
      seenPoint = true;
    } else if (IsDigit(ch)) {
      seenDigit = true;
      if (!significant.empty() || ch != '0') {
        significant += ch;
      }
      if (seenPoint) {
        --exponent;  // a digit after the point
      }
    } else {
      break;
    }
  }
  if (!seenDigit) {
    return std::nullopt;
  }
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    std::size_t after = pos + 1;
    if (const auto power = ReadExponent(text, after)) {
      exponent += *power;
    }
  }
  while (!significant.empty() && significant.back() == '0') {
    significant.pop_back();
    ++exponent;
  }
  if (significant.size() > kMaxSignificantDigits) {
    return std::nullopt;
  }
  Decimal decimal;
  for (const char ch : significant) {
    decimal.digits = decimal.digits * 10U + static_cast<std::uint64_t>(ch - '0');
  }
  decimal.exponent = exponent;
  return decimal;
}

// The unit's power of ten: any M (megahertz) first, otherwise any K.
long UnitExponent(std::string_view upperText) {
  if (text::FindChar(upperText, 'M') != std::string_view::npos) {
    return 6;
  }
  if (text::FindChar(upperText, 'K') != std::string_view::npos) {
    return 3;
  }
  return 0;
}

// digits x 10^exponent with exponent >= 0, when below 2^40 Hz.
std::optional<ExactFrequency> WholeHertz(std::uint64_t digits, long exponent) {
  std::uint64_t value = digits;
  for (long i = 0; i < exponent; ++i) {
    if (value >= kMaxHertz) {
      return std::nullopt;
    }
    value *= 10U;
  }
  if (value >= kMaxHertz) {
    return std::nullopt;
  }
  return ExactFrequency{value, 1};
}

// digits / 10^places in lowest terms: the factors 2 and 5 the digits share
// with the power of ten are cancelled.
std::optional<ExactFrequency> FractionalHertz(std::uint64_t digits, long places) {
  long twos = places;
  long fives = places;
  while (twos > 0 && digits % 2U == 0) {
    digits /= 2U;
    --twos;
  }
  while (fives > 0 && digits % 5U == 0) {
    digits /= 5U;
    --fives;
  }
  std::uint64_t denominator = 1;
  for (long i = 0; i < twos; ++i) {
    denominator *= 2U;
    if (denominator > kMaxDenominator) {
      return std::nullopt;
    }
  }
  for (long i = 0; i < fives; ++i) {
    denominator *= 5U;
    if (denominator > kMaxDenominator) {
      return std::nullopt;
    }
  }
  if (digits / denominator >= kMaxHertz) {
    return std::nullopt;
  }
  return ExactFrequency{digits, denominator};
}

}  // namespace

std::optional<ExactFrequency> ReadExactCrystal(std::string_view crystalText) {
  std::string upper(crystalText);
  text::UpperCaseInPlace(upper);
  const auto decimal = ReadDecimal(upper);
  if (!decimal || decimal->digits == 0) {
    return std::nullopt;
  }
  const long exponent = decimal->exponent + UnitExponent(upper);
  if (exponent > kMaxExponent || exponent < -kMaxExponent) {
    return std::nullopt;
  }
  return exponent >= 0 ? WholeHertz(decimal->digits, exponent) : FractionalHertz(decimal->digits, -exponent);
}

}  // namespace tesmirol
