#include "engine/target_texts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "engine/no_result_reason.h"
#include "engine/number_reading.h"
#include "engine/texts.h"

namespace tesmirol {
namespace {

__extension__ using Uint128 = unsigned __int128;

// Upper-case hexadecimal with "0x" and the given number of digits.
std::string Hex(std::uint32_t value, int digits) {
  std::array<char, 16> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
  std::string text(buffer.data(), result.ptr);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char ch) { return ch >= 'a' && ch <= 'f' ? static_cast<char>(ch - 'a' + 'A') : ch; });
  if (text.size() < static_cast<std::size_t>(digits)) {
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  return "0x" + text;
}

// Whether the selector divides the system clock by P rather than counting
// every P periods.
bool IsPrescaler(ClockSelect select) noexcept {
  return select == ClockSelect::T3conT3ps || select == ClockSelect::T2modT1Clk || select == ClockSelect::CkconSca ||
         select == ClockSelect::Sbcon1Bps;
}

// Below 2^46 a double's spacing is under 0.01, so the double nearest a
// number of hundredths tells those hundredths alone.
constexpr double kHundredthsExact = 70368744177664.0;  // 2^46
constexpr std::uint64_t kLimb = 1000000000;            // 10^9, a base that prints nine digits a limb

// The exact decimal of a whole double of any size (the whole part that
// std::to_chars prints in full in fixed form).
std::string WholeText(double whole) {
  if (whole < 18446744073709551616.0) {  // 2^64
    return std::to_string(static_cast<std::uint64_t>(whole));
  }
  int exponent = 0;
  const double fraction = std::frexp(whole, &exponent);
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  int shift = exponent - 53;
  std::vector<std::uint32_t> limbs;  // base 10^9, the lowest first
  for (; mantissa != 0; mantissa /= kLimb) {
    limbs.push_back(static_cast<std::uint32_t>(mantissa % kLimb));
  }
  for (; shift > 0; shift -= 29) {
    const int step = std::min(shift, 29);
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs) {
      const std::uint64_t product = (std::uint64_t{limb} << static_cast<unsigned>(step)) + carry;
      limb = static_cast<std::uint32_t>(product % kLimb);
      carry = product / kLimb;
    }
    for (; carry != 0; carry /= kLimb) {
      limbs.push_back(static_cast<std::uint32_t>(carry % kLimb));
    }
  }
  std::string text = std::to_string(limbs.back());
  for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) {
    const std::string digits = std::to_string(*limb);
    text.append(9 - digits.size(), '0');
    text += digits;
  }
  return text;
}

// The shortest fixed decimal that reads back as size, a double from 2^46 to
// 2^53 with a fraction, whose spacing (2^-6 to 2^-1) lets several decimals
// read back as it: the fewest places that reach one, and of those the nearest,
// ties to the even last digit. The fraction has at most six places exactly;
// the sums are kept in units of 2^-7 x 10^-6, where all of them are whole.
std::string ShortestCoarseText(double size) {
  const double whole = std::floor(size);
  int exponent = 0;
  std::frexp(size, &exponent);
  const auto units = static_cast<std::int64_t>(std::ldexp(size - whole, 7)) * 1000000;
  // Half the spacing, which is 2^(exponent - 53).
  const auto half = static_cast<std::int64_t>(std::ldexp(1.0, exponent - 53 + 6)) * 1000000;
  const bool evenMantissa = (std::bit_cast<std::uint64_t>(size) & 1U) == 0;
  std::int64_t step = std::int64_t{1000000} << 7U;
  Uint128 scale = 1;
  for (int places = 0; places <= 6; ++places, step /= 10, scale *= 10) {
    std::int64_t nearest = units / step;
    const std::int64_t remainder = units - nearest * step;
    const std::int64_t lastDigit = places == 0 ? static_cast<std::int64_t>(whole) + nearest : nearest;
    if (remainder * 2 > step || (remainder * 2 == step && lastDigit % 2 == 1)) {
      ++nearest;
    }
    const std::int64_t distance = nearest * step > units ? nearest * step - units : units - nearest * step;
    if (distance > half || (distance == half && !evenMantissa)) {
      continue;
    }
    Uint128 digits = static_cast<Uint128>(static_cast<std::uint64_t>(whole)) * scale + static_cast<Uint128>(nearest);
    std::string text;
    for (; digits != 0; digits /= 10) {
      text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(digits % 10)));
    }
    if (places > 0) {
      text.insert(text.size() - static_cast<std::size_t>(places), 1, '.');
    }
    return text;
  }
  return WholeText(whole);  // not reached: six places always give the exact fraction
}

}  // namespace

std::string TargetReloadText(const BaudTarget& target, std::uint32_t reload) {
  return Hex(reload, target.reloadBits > 8 ? 4 : 2);
}

std::string ReloadRegisterLabel(const BaudTarget& target) {
  std::string label;
  for (const std::string& name : target.reloadRegisters) {
    label += label.empty() ? "" : ",";
    label += name;
  }
  return label;
}

std::string RegisterBytesText(const BaudTarget& target, const TargetSetting& setting) {
  if (target.generator == GeneratorKind::CcUsart && setting.clockIndex < target.clocks.size()) {
    // UxBAUD and the exponent in UxGCR (U0BAUD -> U0GCR).
    const std::string baud = ReloadRegisterLabel(target);
    return baud + " = " + Hex(setting.reloadLow, 2) + ", " + baud.substr(0, 2) +
           "GCR.BAUD_E = " + std::to_string(target.clocks[setting.clockIndex].select);
  }
  return ReloadBytesText(target, setting.reload);
}

std::string ReloadBytesText(const BaudTarget& target, std::uint32_t reload) {
  const std::uint32_t low = reload & 0xFFU;
  if (target.reloadRegisters.size() < 2) {
    return ReloadRegisterLabel(target) + " = " + Hex(low, 2);
  }
  return target.reloadRegisters[0] + " = " + Hex((reload >> 8U) & 0xFFU, 2) + ", " + target.reloadRegisters[1] + " = " +
         Hex(low, 2);
}

std::string DecimalText(double value) {
  const double hundredths = std::round(value * 100.0);
  const double rounded = hundredths / 100.0;
  if (std::isnan(rounded)) {
    return std::signbit(rounded) ? "-nan" : "nan";
  }
  std::string text = std::signbit(rounded) ? "-" : "";
  const double size = std::fabs(rounded);
  if (std::isinf(size)) {
    return text + "inf";
  }
  if (size < kHundredthsExact) {
    // The hundredths are exact, and no other decimal reads back as the same
    // double: the whole part, then the hundredths without trailing zeros.
    const auto cents = static_cast<std::uint64_t>(std::fabs(hundredths));
    text += std::to_string(cents / 100);
    const auto fraction = static_cast<unsigned>(cents % 100);
    if (fraction != 0) {
      text += '.';
      text += static_cast<char>('0' + fraction / 10);
      if (fraction % 10 != 0) {
        text += static_cast<char>('0' + fraction % 10);
      }
    }
    return text;
  }
  const double whole = std::floor(size);
  if (whole == size) {
    return text + WholeText(size);
  }
  return text + ShortestCoarseText(size);
}

std::string FractionText(std::uint64_t numerator, std::uint64_t denominator) {
  if (denominator == 1) {
    return std::to_string(numerator);
  }
  return std::to_string(numerator) + "/" + std::to_string(denominator);
}

bool IsWithinTolerance(const TargetSetting& setting, double tolerancePercent) noexcept {
  return std::fabs(setting.deviation) <= tolerancePercent;
}

std::string TargetNoResultReason(std::string_view crystalGbk, std::string_view baudGbk, Language language) {
  if (crystalGbk.empty() || baudGbk.empty() || !ReadLeadingFloat(crystalGbk)) {
    return NoResultReason(crystalGbk, baudGbk, language);
  }
  if (ReadLeadingInt(baudGbk) <= 0) {
    return FormatText(language, TextKey::ReasonTargetBaud, {{"baud", std::string(baudGbk)}});
  }
  return FormatText(language, TextKey::ReasonTargetCrystal, {{"crystal", std::string(crystalGbk)}});
}

std::string ClockChoiceText(const BaudTarget& target, std::uint32_t clockIndex) {
  if (target.clockSelect == ClockSelect::UxgcrBaudE) {
    // The exponent: the generator runs from the system clock itself.
    std::string text(1, 'E');
    text += std::to_string(clockIndex < target.clocks.size() ? target.clocks[clockIndex].select : 0);
    return text;
  }
  const std::uint32_t periods =
      clockIndex < target.clocks.size() ? target.clocks[clockIndex].clocksPerCycle : target.clocksPerCycle;
  std::string text = std::to_string(periods);
  if (IsPrescaler(target.clockSelect)) {
    text.insert(text.begin(), '/');
  } else {
    text += 'T';
  }
  return text;
}

std::string ClockChoicesText(const BaudTarget& target) {
  if (target.clockSelect == ClockSelect::UxgcrBaudE && !target.clocks.empty()) {
    std::string text = ClockChoiceText(target, 0);
    text.append("..").append(ClockChoiceText(target, static_cast<std::uint32_t>(target.clocks.size() - 1)));
    return text;
  }
  std::string text;
  for (std::uint32_t index = 0; index < target.clocks.size(); ++index) {
    text += index == 0 ? "" : " ";
    text += ClockChoiceText(target, index);
  }
  return text.empty() ? ClockChoiceText(target, 0) : text;
}

std::string TimerText(std::string_view timer) { return TimerText(timer, Language::English); }

std::string TimerText(std::string_view timer, Language language) {
  constexpr std::string_view kTimer = "timer";
  if (timer.starts_with(kTimer) && timer.size() > kTimer.size()) {
    return FormatText(language, TextKey::TimerNumber, {{"number", std::string(timer.substr(kTimer.size()))}});
  }
  std::string upper(timer);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  return upper;
}

}  // namespace tesmirol
