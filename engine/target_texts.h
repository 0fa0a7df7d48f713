#pragma once
// How reports write a target's numbers, the command line's and the page's
// alike: reloads in the register's width, the register bytes, exact rates
// and frequencies.

#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/target_solver.h"

namespace tesmirol {

// "0xFD" for an 8-bit reload, "0xFFE8" for a 16-bit one.
std::string TargetReloadText(const BaudTarget& target, std::uint32_t reload);

// The clock choice as the chips' manuals name it: "1T", "12T" for a timer
// that counts every P oscillator periods, "/128" for a prescaler that divides
// the system clock (Nuvoton T3PS, WCH T2MOD, Silicon Labs SCA), "E11" for
// the exponent BAUD_E of the CC253x USART's generator.
std::string ClockChoiceText(const BaudTarget& target, std::uint32_t clockIndex);

// Every clock choice of the target: "1T 12T", "/1 /2 /4 ... /128".
std::string ClockChoicesText(const BaudTarget& target);

// The catalogue's timer in the manuals' words: "timer2" is "Timer 2",
// "brt" is "BRT".
std::string TimerText(std::string_view timer);

// The same in the language, GBK: "Timer 2" or "定时器 2", "BRT".
std::string TimerText(std::string_view timer, Language language);

// "TH1" or "T2H,T2L": the register(s) the reload goes into.
std::string ReloadRegisterLabel(const BaudTarget& target);

// "TH1 = 0xFD" or "T2H = 0xFF, T2L = 0xE8": what is written where; the
// CC253x USART's exponent too ("U0BAUD = 0xD8, U0GCR.BAUD_E = 11").
std::string RegisterBytesText(const BaudTarget& target, const TargetSetting& setting);

// The reload's bytes alone, whatever the clock choice: "T2H = 0xFF, T2L = 0xE8".
std::string ReloadBytesText(const BaudTarget& target, std::uint32_t reload);

// A rate or frequency as a decimal with up to two places, without the
// C locale ("9615.38", "115200").
std::string DecimalText(double value);

// The exact fraction: "9600" when whole, else "62500/7".
std::string FractionText(std::uint64_t numerator, std::uint64_t denominator);

// The deviation the generated code accepts unless asked for more: the
// dialog's 1 %.
inline constexpr double kCodeTolerancePercent = 1.0;

// Whether the generated code may use the setting: within the tolerance (1 %,
// as the dialog's, or the wider one a build check asks for).
bool IsWithinTolerance(const TargetSetting& setting, double tolerancePercent = kCodeTolerancePercent) noexcept;

// Why the texts give no result for a target, for the message on stderr: in
// the language, GBK, quoting the GBK texts.
std::string TargetNoResultReason(std::string_view crystalGbk, std::string_view baudGbk, Language language);

}  // namespace tesmirol
