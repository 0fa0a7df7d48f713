#include "engine/clock_tolerance.h"

#include <cstddef>

namespace tesmirol {
namespace {

__extension__ using Uint128 = unsigned __int128;

constexpr bool IsBlank(char ch) noexcept { return ch == ' ' || ch == '\t'; }

constexpr bool IsDigit(char ch) noexcept { return ch >= '0' && ch <= '9'; }

constexpr char Lower(char ch) noexcept { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// Enough digits for any tolerance below 10 % down to one part per billion;
// more significant digits than this cannot be exact.
constexpr std::size_t kMaxDigits = 19;

std::size_t SkipBlanks(std::string_view text, std::size_t pos) noexcept {
  while (pos < text.size() && IsBlank(text[pos])) {
    ++pos;
  }
  return pos;
}

// The number's digits without leading zeros and the count of those after
// the point.
struct DecimalDigits {
  Uint128 digits = 0;
  std::size_t significant = 0;
  std::size_t afterPoint = 0;
  bool seenDigit = false;
};

// Reads digits with at most one point from pos; pos moves past them.
DecimalDigits ReadDigits(std::string_view text, std::size_t& pos) noexcept {
  DecimalDigits number;
  bool seenPoint = false;
  for (; pos < text.size(); ++pos) {
    const char ch = text[pos];
    if (ch == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!IsDigit(ch)) {
      break;
    }
    number.seenDigit = true;
    if (seenPoint) {
      ++number.afterPoint;
    }
    if (number.significant > 0 || ch != '0') {
      ++number.significant;
      if (number.significant <= kMaxDigits) {
        number.digits = number.digits * 10U + static_cast<unsigned>(ch - '0');
      }
    }
  }
  return number;
}

// The unit's power of ten in parts per billion: ppm 10^3, % 10^7. Moves pos
// past the unit; no unit gives -1.
int ReadUnit(std::string_view text, std::size_t& pos) noexcept {
  if (pos < text.size() && text[pos] == '%') {
    ++pos;
    return 7;
  }
  if (pos + 3 <= text.size() && Lower(text[pos]) == 'p' && Lower(text[pos + 1]) == 'p' && Lower(text[pos + 2]) == 'm') {
    pos += 3;
    return 3;
  }
  return -1;
}

Uint128 PowerOfTen(std::size_t exponent) noexcept {
  Uint128 power = 1;
  for (std::size_t i = 0; i < exponent; ++i) {
    power *= 10U;
  }
  return power;
}

}  // namespace

ToleranceReading ReadClockTolerance(std::string_view text) {
  std::size_t pos = SkipBlanks(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const DecimalDigits number = ReadDigits(text, pos);
  if (!number.seenDigit) {
    return {ToleranceStatus::NotANumber, {}};
  }
  pos = SkipBlanks(text, pos);
  const int unitPower = ReadUnit(text, pos);
  if (unitPower < 0) {
    return {ToleranceStatus::NoUnit, {}};
  }
  if (SkipBlanks(text, pos) != text.size()) {
    return {ToleranceStatus::NotANumber, {}};
  }
  if (negative && number.digits != 0) {
    return {ToleranceStatus::Negative, {}};
  }
  // value = digits / 10^afterPoint units; in ppb: digits x 10^unitPower / 10^afterPoint.
  const std::size_t wholeDigits = number.significant > number.afterPoint ? number.significant - number.afterPoint : 0;
  if (wholeDigits + static_cast<std::size_t>(unitPower) > 9) {
    return {ToleranceStatus::TooLarge, {}};  // 10^9 ppb or more
  }
  if (number.digits == 0) {
    return {ToleranceStatus::Ok, ClockTolerance{0}};
  }
  if (number.significant > kMaxDigits || number.afterPoint > kMaxDigits + 9) {
    return {ToleranceStatus::TooFine, {}};
  }
  const Uint128 scaled = number.digits * PowerOfTen(static_cast<std::size_t>(unitPower));
  const Uint128 divisor = PowerOfTen(number.afterPoint);
  if (scaled % divisor != 0) {
    return {ToleranceStatus::TooFine, {}};
  }
  const Uint128 ppb = scaled / divisor;
  if (ppb >= kToleranceLimitPpb) {
    return {ToleranceStatus::TooLarge, {}};
  }
  return {ToleranceStatus::Ok, ClockTolerance{static_cast<std::uint64_t>(ppb)}};
}

std::string_view ToleranceStatusName(ToleranceStatus status) noexcept {
  switch (status) {
    case ToleranceStatus::Ok:
      return "Ok";
    case ToleranceStatus::NotANumber:
      return "NotANumber";
    case ToleranceStatus::NoUnit:
      return "NoUnit";
    case ToleranceStatus::Negative:
      return "Negative";
    case ToleranceStatus::TooLarge:
      return "TooLarge";
    case ToleranceStatus::TooFine:
      return "TooFine";
  }
  return "Ok";
}

}  // namespace tesmirol
