#pragma once
// How far a clock may stray from its nominal frequency, read from the user's
// text ("50ppm", "1.5%", "0.01%") and kept exactly, in parts per billion:
// a crystal is good to about 100 ppm (0.01 %), an internal RC oscillator to
// 1 or 2 %.

#include <cstdint>
#include <string_view>

namespace tesmirol {

inline constexpr std::uint64_t kPartsPerBillion = 1'000'000'000;

// The largest tolerance the link check takes, exclusive: 10 %. A clock that
// strays that far is no clock for a UART.
inline constexpr std::uint64_t kToleranceLimitPpb = 100'000'000;

struct ClockTolerance {
  std::uint64_t partsPerBillion = 0;  // below kToleranceLimitPpb
};

enum class ToleranceStatus {
  Ok,
  NotANumber,  // no digits, or something after the unit
  NoUnit,      // a number without "ppm" or "%" after it
  Negative,
  TooLarge,  // 10 % or more
  TooFine,   // finer than one part per billion
};

struct ToleranceReading {
  ToleranceStatus status = ToleranceStatus::NotANumber;
  ClockTolerance tolerance;  // valid when status is Ok
};

// Reads a decimal number (digits with at most one point, no exponent) and its
// unit, "ppm" (any case) or "%", with optional blanks around and between.
ToleranceReading ReadClockTolerance(std::string_view text);

// The status under its own name ("Ok", "NotANumber" ...).
std::string_view ToleranceStatusName(ToleranceStatus status) noexcept;

}  // namespace tesmirol
