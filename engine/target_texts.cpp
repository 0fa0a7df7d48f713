#include "engine/target_texts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/no_result_reason.h"
#include "engine/number_reading.h"
#include "engine/texts.h"

namespace tesmirol {
namespace {

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
  return select == ClockSelect::T3conT3ps || select == ClockSelect::T2modT1Clk || select == ClockSelect::CkconSca;
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
  std::array<char, 64> buffer{};
  const double rounded = std::round(value * 100.0) / 100.0;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed);
  return {buffer.data(), result.ptr};
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
