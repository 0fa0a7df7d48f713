#include "engine/number_reading.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

// libc++ (the WebAssembly build) has no std::from_chars for float; the
// header-only fast_float is the algorithm libstdc++'s own from_chars uses, so
// it reads every decimal as the same nearest float32.
#ifndef __cpp_lib_to_chars
#include <fast_float/fast_float.h>
#endif

namespace tesmirol {
namespace {

// The white space that atoi and scanf skip, fixed rather than taken from the
// C locale.
constexpr bool IsSpace(char ch) noexcept {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

constexpr bool IsDigit(char ch) noexcept { return ch >= '0' && ch <= '9'; }

std::size_t SkipSpace(std::string_view text, std::size_t pos) noexcept {
  while (pos < text.size() && IsSpace(text[pos])) {
    ++pos;
  }
  return pos;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) noexcept {
  while (pos < text.size() && IsDigit(text[pos])) {
    ++pos;
  }
  return pos;
}

// The parts of a decimal number as scanf's "%f" accepts it.
struct DecimalSpelling {
  bool negative = false;
  std::string_view mantissa;  // digits with at most one point, at least one digit
  std::string_view exponent;  // "", or sign and digits after the E
};

std::optional<DecimalSpelling> ScanDecimal(std::string_view text) noexcept {
  DecimalSpelling spelling;
  std::size_t pos = SkipSpace(text, 0);
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    spelling.negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  const std::size_t integerEnd = SkipDigits(text, pos);
  std::size_t mantissaEnd = integerEnd;
  std::size_t digitCount = integerEnd - mantissaStart;
  if (integerEnd < text.size() && text[integerEnd] == '.') {
    mantissaEnd = SkipDigits(text, integerEnd + 1);
    digitCount += mantissaEnd - integerEnd - 1;
  }
  if (digitCount == 0) {
    return std::nullopt;
  }
  spelling.mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);

  // An exponent counts only when digits follow the E and its sign.
  pos = mantissaEnd;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    const std::size_t exponentStart = pos + 1;
    std::size_t digitsStart = exponentStart;
    if (digitsStart < text.size() && (text[digitsStart] == '+' || text[digitsStart] == '-')) {
      ++digitsStart;
    }
    const std::size_t exponentEnd = SkipDigits(text, digitsStart);
    if (exponentEnd > digitsStart) {
      spelling.exponent = text.substr(exponentStart, exponentEnd - exponentStart);
    }
  }
  return spelling;
}

// Whether a decimal number whose float32 conversion is out of range is too
// large (rather than too small): its order of magnitude is positive. The
// order is estimated from the position of the first non-zero digit and the
// exponent; a huge exponent saturates.
bool IsOverflow(const DecimalSpelling& spelling) noexcept {
  long long order = 0;  // power of ten of the first significant digit, plus one
  bool seenPoint = false;
  bool seenSignificant = false;
  for (const char ch : spelling.mantissa) {
    if (ch == '.') {
      seenPoint = true;
    } else if (!seenSignificant && ch == '0') {
      if (seenPoint) {
        --order;
      }
    } else {
      seenSignificant = true;
      if (!seenPoint) {
        ++order;
      }
    }
  }
  if (!seenSignificant) {
    return false;  // zero never overflows
  }
  long long exponent = 0;
  bool exponentNegative = false;
  for (const char ch : spelling.exponent) {
    if (ch == '-') {
      exponentNegative = true;
    } else if (IsDigit(ch) && exponent < 1'000'000'000) {
      exponent = exponent * 10 + (ch - '0');
    }
  }
  order += exponentNegative ? -exponent : exponent;
  return order > 0;
}

// Reads the whole of number ("C" format) into the nearest float32. Out of
// range gives result_out_of_range, or with fast_float infinity or zero
// directly, which the caller gives the same way.
std::from_chars_result ReadFloat32(const std::string& number, float& value) noexcept {
  const char* const first = number.data();
  const char* const last = number.data() + number.size();
#ifdef __cpp_lib_to_chars
  return std::from_chars(first, last, value);
#else
  const fast_float::from_chars_result result = fast_float::from_chars(first, last, value);
  return {result.ptr, result.ec};
#endif
}

}  // namespace

std::int32_t ReadLeadingInt(std::string_view text) noexcept {
  std::size_t pos = SkipSpace(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Unsigned arithmetic wraps modulo 2^32 by definition.
  std::uint32_t value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = value * 10U + static_cast<std::uint32_t>(text[pos] - '0');
  }
  if (negative) {
    value = 0U - value;
  }
  return static_cast<std::int32_t>(value);  // two's complement, defined since C++20
}

std::optional<float> ReadLeadingFloat(std::string_view text) noexcept {
  const std::optional<DecimalSpelling> spelling = ScanDecimal(text);
  if (!spelling) {
    return std::nullopt;
  }
  // from_chars reads the decimal straight into the nearest float32 (no
  // detour through double, which could round twice) in the "C" format,
  // whatever the process locale says.
  std::string number(spelling->mantissa);
  if (!spelling->exponent.empty()) {
    number += 'e';
    number += spelling->exponent;
  }
  float value = 0.0F;
  const auto [end, error] = ReadFloat32(number, value);
  if (error == std::errc::result_out_of_range) {
    value = IsOverflow(*spelling) ? std::numeric_limits<float>::infinity() : 0.0F;
  } else if (error != std::errc{} || end != number.data() + number.size()) {
    return std::nullopt;
  }
  return spelling->negative ? -value : value;
}

}  // namespace tesmirol
