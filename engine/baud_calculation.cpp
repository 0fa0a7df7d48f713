#include "engine/baud_calculation.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/number_reading.h"
#include "text/gbk_text.h"

namespace tesmirol {
namespace {

// Reciprocals kept as float32, as the 8051 tables were worked out: each is a
// hair above the exact value, so an exact quotient such as 11059200 / 192
// lands just above 57600 and truncates to 57600, never to 57599.
constexpr double kReciprocal192 = std::bit_cast<float>(std::uint32_t{0x3BAAAAABU});
constexpr double kReciprocal98304 = std::bit_cast<float>(std::uint32_t{0x372AAAABU});
constexpr double kReciprocal384 = std::bit_cast<float>(std::uint32_t{0x3B2AAAABU});

// The tolerance on the deviation of an achieved rate, in percent.
constexpr double kTolerancePercent = 1.0;

// Rounds a double to float32 (round to nearest, the platform's conversion).
float ToFloat32(double value) noexcept { return static_cast<float>(value); }

// Truncates toward zero into an int32; no result when the value is not finite
// or its integer part does not fit (so no conversion is ever undefined).
std::optional<std::int32_t> TruncateToInt32(double value) noexcept {
  if (!(value > -2147483649.0 && value < 2147483648.0)) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// 256 - reload as an int32, with no result when it would not fit.
std::optional<std::int32_t> DivisorOf(std::int32_t reload) noexcept {
  const std::int64_t divisor = std::int64_t{256} - reload;
  if (divisor < INT32_MIN || divisor > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(divisor);
}

ModeStatus StatusOf(std::int32_t achieved, std::int32_t minBps, std::int32_t maxBps) noexcept {
  if (achieved < minBps) {
    return ModeStatus::TooLow;
  }
  if (achieved > maxBps) {
    return ModeStatus::TooHigh;
  }
  return ModeStatus::Ok;
}

// The rate a divisor of 1 would give for each SMOD setting: f / 384 with
// SMOD = 0 and 2f / 384 with SMOD = 1; a reload's rate is this over its divisor.
std::array<double, 2> TimerRates(double frequency) noexcept {
  return {frequency * kReciprocal384, (frequency * 2.0) * kReciprocal384};
}

// What sets one SMOD setting apart: the quotient its reload is taken from,
// and its rate with a divisor of 1.
struct ModeInputs {
  double reloadQuotient;
  double timerRate;
};

// Fills one SMOD setting from its quotient and rate; no result when the
// reload, divisor or achieved rate is undefined (divisor zero, out of range).
std::optional<ModeResult> CalculateMode(const ModeInputs& inputs, const BaudCalculation& calc) {
  ModeResult mode;
  const auto reload = TruncateToInt32(256.0 - inputs.reloadQuotient);
  if (!reload) {
    return std::nullopt;
  }
  mode.reload = *reload;
  const auto divisor = DivisorOf(mode.reload);
  if (!divisor || *divisor == 0) {
    return std::nullopt;
  }
  mode.divisor = *divisor;
  const auto achieved = TruncateToInt32(inputs.timerRate / mode.divisor);
  if (!achieved) {
    return std::nullopt;
  }
  const ModeResult compared = CompareRate(*achieved, calc.baud);
  mode.achieved = compared.achieved;
  mode.deviation = compared.deviation;
  mode.deviationAbs = compared.deviationAbs;
  mode.status = StatusOf(mode.achieved, calc.minBps, calc.maxBps);
  return mode;
}

// Reads the crystal frequency in hertz from the upper-cased crystal text: the
// leading number, scaled by an M (MHz) or K (kHz) found anywhere in the text.
std::optional<float> ReadFrequency(std::string_view crystalText) noexcept {
  const std::optional<float> number = ReadLeadingFloat(crystalText);
  if (!number) {
    return std::nullopt;
  }
  if (text::FindChar(crystalText, 'M') != std::string_view::npos) {
    return ToFloat32(static_cast<double>(*number) * 1000000.0);
  }
  if (text::FindChar(crystalText, 'K') != std::string_view::npos) {
    return ToFloat32(static_cast<double>(*number) * 1000.0);
  }
  return number;
}

}  // namespace

std::optional<BaudCalculation> CalculateBaud(std::string_view crystalText, std::string_view baudText) {
  if (crystalText.empty() || baudText.empty()) {
    return std::nullopt;
  }
  BaudCalculation calc;
  calc.baudText = baudText;
  calc.baud = ReadLeadingInt(baudText);
  calc.crystalText = crystalText;
  text::UpperCaseInPlace(calc.crystalText);

  const std::optional<float> frequency = ReadFrequency(calc.crystalText);
  if (!frequency) {
    return std::nullopt;
  }
  calc.frequency = *frequency;
  const double f = calc.frequency;
  const auto crystalHz = TruncateToInt32(f);
  if (!crystalHz) {
    return std::nullopt;  // 2147483648 Hz and above, or infinite
  }
  calc.crystalHz = *crystalHz;
  // Both fit: |f| < 2^31 and the reciprocals are below 1.
  calc.maxBps = static_cast<std::int32_t>(f * kReciprocal192);
  calc.minBps = static_cast<std::int32_t>(f * kReciprocal98304);

  calc.baudF = static_cast<float>(calc.baud);
  // baud * 384 is exact in double (|baud| * 384 < 2^41) before it is rounded.
  calc.baud384 = ToFloat32(static_cast<double>(calc.baud) * 384.0);
  if (calc.baud == 0) {
    return std::nullopt;  // every quotient below would divide by zero
  }
  const double baud384 = calc.baud384;

  // SMOD = 0 works from the float frequency; SMOD = 1 takes its reload from
  // the truncated crystalHz (doubled in double: 2 x 1964 MHz exceeds int32)
  // but its achieved rate from the float frequency.
  const std::array<double, 2> timerRates = TimerRates(f);
  const auto smod0 = CalculateMode({f / baud384, timerRates[0]}, calc);
  const auto smod1 = CalculateMode({(static_cast<double>(calc.crystalHz) * 2.0) / baud384, timerRates[1]}, calc);
  if (!smod0 || !smod1) {
    return std::nullopt;
  }
  calc.mode = {*smod0, *smod1};
  return calc;
}

std::optional<ReloadRates> CalculateReloadRates(std::string_view crystalText, std::int32_t reload) {
  if (crystalText.empty() || reload < 0 || reload > 255) {
    return std::nullopt;
  }
  ReloadRates rates;
  rates.crystalText = crystalText;
  text::UpperCaseInPlace(rates.crystalText);
  const std::optional<float> frequency = ReadFrequency(rates.crystalText);
  if (!frequency) {
    return std::nullopt;
  }
  rates.frequency = *frequency;
  const auto crystalHz = TruncateToInt32(rates.frequency);
  if (!crystalHz) {
    return std::nullopt;  // the same bound as CalculateBaud
  }
  rates.crystalHz = *crystalHz;
  rates.reload = reload;
  rates.divisor = 256 - reload;
  // |f| < 2^31 and the divisor is at least 1, so both rates fit.
  const std::array<double, 2> timerRates = TimerRates(rates.frequency);
  for (std::size_t smod = 0; smod < timerRates.size(); ++smod) {
    rates.achieved.at(smod) = static_cast<std::int32_t>(timerRates.at(smod) / rates.divisor);
  }
  return rates;
}

std::string_view ModeStatusName(ModeStatus status) noexcept {
  switch (status) {
    case ModeStatus::TooLow:
      return "TooLow";
    case ModeStatus::TooHigh:
      return "TooHigh";
    case ModeStatus::Ok:
      break;
  }
  return "Ok";
}

ModeResult CompareRate(std::int32_t achieved, std::int32_t baud) noexcept {
  ModeResult mode;
  mode.achieved = achieved;
  // The difference is exact in 64 bits; 32 bits could wrap for a negative baud.
  const auto difference = static_cast<double>(std::int64_t{achieved} - baud);
  mode.deviation = (difference * 100.0) / static_cast<double>(static_cast<float>(baud));
  mode.deviationAbs = std::fabs(static_cast<double>(ToFloat32(mode.deviation)));
  return mode;
}

bool IsOutOfTolerance(const ModeResult& mode) noexcept { return mode.deviationAbs > kTolerancePercent; }

}  // namespace tesmirol
