// Fuzzes CalculateBaud with arbitrary crystal and baud texts and holds every
// result to the 8051 timer formulas, worked out here on their own: the
// crystal number as strtof reads it, the baud rate as atoi reads it (with
// 32-bit wrap-around), then TH1, 256 - TH1 and the achieved rate for both
// SMOD settings. A result must exist exactly when all of them are defined.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "engine/baud_calculation.h"
#include "fuzz/fuzz_check.h"
#include "text/gbk_text.h"

namespace tesmirol::fuzz {
namespace {

// The reciprocals of 192, 98304 and 384 as the float32 values the timer
// tables use.
const double kReciprocal192 = std::bit_cast<float>(std::uint32_t{0x3BAAAAABU});
const double kReciprocal98304 = std::bit_cast<float>(std::uint32_t{0x372AAAABU});
const double kReciprocal384 = std::bit_cast<float>(std::uint32_t{0x3B2AAAABU});

bool IsCSpace(char ch) noexcept { return std::string_view(" \t\n\v\f\r").find(ch) != std::string_view::npos; }
bool IsDigit(char ch) noexcept { return ch >= '0' && ch <= '9'; }

// Position after the white space and sign that both readers skip.
std::size_t NumberStart(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) {
    ++pos;
  }
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    ++pos;
  }
  return pos;
}

// The crystal number as the C library's strtof reads it, given only the
// characters a decimal number can hold (so strtof sees no hexadecimal,
// infinity or not-a-number spelling); no result without a leading digit.
std::optional<float> ReadCrystalNumber(std::string_view upperText) {
  const std::size_t start = NumberStart(upperText);
  const bool digitFirst = start < upperText.size() && IsDigit(upperText[start]);
  const bool pointThenDigit = start + 1 < upperText.size() && upperText[start] == '.' && IsDigit(upperText[start + 1]);
  if (!digitFirst && !pointThenDigit) {
    return std::nullopt;
  }
  const std::size_t end = upperText.find_first_not_of(" \t\n\v\f\r+-0123456789.E");
  const std::string number(upperText.substr(0, end));
  return std::strtof(number.c_str(), nullptr);
}

// The baud rate as atoi reads it, the digits accumulating modulo 2^32.
std::int32_t ReadBaud(std::string_view text) noexcept {
  std::size_t pos = NumberStart(text);
  const bool negative = pos > 0 && text[pos - 1] == '-';
  std::uint64_t value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = (value * 10 + static_cast<std::uint64_t>(text[pos] - '0')) % (std::uint64_t{1} << 32U);
  }
  const auto low = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0U - low : low);
}

// The value truncated toward zero when it fits an int32.
std::optional<std::int32_t> Truncated(double value) noexcept {
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  const double whole = std::trunc(value);
  if (whole < -2147483648.0 || whole > 2147483647.0) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

// One SMOD setting from the quotient its TH1 comes from and the rate that a
// divisor of 1 gives.
std::optional<ModeResult> ExpectedMode(double quotient, double timerRate, std::int32_t baud, float baudF) {
  ModeResult mode;
  const auto reload = Truncated(256.0 - quotient);
  if (!reload) {
    return std::nullopt;
  }
  const auto divisor = Truncated(256.0 - static_cast<double>(*reload));
  if (!divisor || *divisor == 0) {
    return std::nullopt;
  }
  const auto achieved = Truncated(timerRate / *divisor);
  if (!achieved) {
    return std::nullopt;
  }
  mode.reload = *reload;
  mode.divisor = *divisor;
  mode.achieved = *achieved;
  mode.deviation = static_cast<double>(std::int64_t{*achieved} - baud) * 100.0 / static_cast<double>(baudF);
  mode.deviationAbs = std::fabs(static_cast<double>(static_cast<float>(mode.deviation)));
  return mode;
}

// Every number of the calculation from the crystal frequency and the baud
// rate; no result when any of them is undefined.
std::optional<BaudCalculation> ExpectedCalculation(float frequency, std::int32_t baud) {
  BaudCalculation calc;
  calc.frequency = frequency;
  calc.baud = baud;
  const double f = frequency;
  const auto crystalHz = Truncated(f);
  if (!crystalHz || baud == 0) {
    return std::nullopt;
  }
  calc.crystalHz = *crystalHz;
  calc.maxBps = *Truncated(f * kReciprocal192);
  calc.minBps = *Truncated(f * kReciprocal98304);
  calc.baudF = static_cast<float>(baud);
  calc.baud384 = static_cast<float>(static_cast<double>(baud) * 384.0);
  const double baud384 = calc.baud384;
  const auto smod0 = ExpectedMode(f / baud384, f * kReciprocal384, baud, calc.baudF);
  const auto smod1 = ExpectedMode(2.0 * calc.crystalHz / baud384, 2.0 * f * kReciprocal384, baud, calc.baudF);
  if (!smod0 || !smod1) {
    return std::nullopt;
  }
  calc.mode = {*smod0, *smod1};
  for (ModeResult& mode : calc.mode) {
    mode.status = mode.achieved < calc.minBps   ? ModeStatus::TooLow
                  : mode.achieved > calc.maxBps ? ModeStatus::TooHigh
                                                : ModeStatus::Ok;
  }
  return calc;
}

bool SameBits(float a, float b) noexcept { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }
bool SameBits(double a, double b) noexcept {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void CheckMode(const ModeResult& actual, const ModeResult& expected) {
  Require(actual.reload == expected.reload, "TH1 = 256 - quotient, truncated");
  Require(actual.divisor == expected.divisor, "divisor = 256 - TH1");
  Require(actual.achieved == expected.achieved, "achieved = timer rate / divisor, truncated");
  Require(SameBits(actual.deviation, expected.deviation), "deviation = (achieved - baud) * 100 / baudF");
  Require(SameBits(actual.deviationAbs, expected.deviationAbs), "deviationAbs = |deviation as float32|");
  Require(actual.status == expected.status, "status from the crystal's range");
}

}  // namespace
}  // namespace tesmirol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesmirol;
  using namespace tesmirol::fuzz;
  const TextPair texts = SplitInTwo(AsText(data, size));
  const std::optional<BaudCalculation> calc = CalculateBaud(texts.crystal, texts.baud);
  if (texts.crystal.empty() || texts.baud.empty()) {
    Require(!calc, "an empty text gives no result");
    return 0;
  }

  std::string upper(texts.crystal);
  text::UpperCaseInPlace(upper);
  const std::optional<float> number = ReadCrystalNumber(upper);
  if (!number) {
    Require(!calc, "a crystal text that does not start with a number gives no result");
    return 0;
  }
  float frequency = *number;
  if (text::FindChar(upper, 'M') != std::string::npos) {
    frequency = static_cast<float>(static_cast<double>(frequency) * 1e6);
  } else if (text::FindChar(upper, 'K') != std::string::npos) {
    frequency = static_cast<float>(static_cast<double>(frequency) * 1e3);
  }

  const std::optional<BaudCalculation> expected = ExpectedCalculation(frequency, ReadBaud(texts.baud));
  Require(calc.has_value() == expected.has_value(), "a result exactly when every value is defined");
  if (!calc) {
    return 0;
  }
  Require(calc->crystalText == upper, "crystalText is the upper-cased crystal text");
  Require(calc->baudText == texts.baud, "baudText is the baud text as entered");
  Require(calc->baud == expected->baud, "baud is read as atoi reads it");
  Require(SameBits(calc->frequency, expected->frequency), "the frequency is the nearest float32, scaled by M or K");
  Require(calc->crystalHz == expected->crystalHz, "crystalHz is the frequency truncated");
  Require(calc->minBps == expected->minBps && calc->maxBps == expected->maxBps, "the crystal's range");
  Require(SameBits(calc->baudF, expected->baudF) && SameBits(calc->baud384, expected->baud384), "baudF, baud384");
  CheckMode(calc->mode[0], expected->mode[0]);
  CheckMode(calc->mode[1], expected->mode[1]);
  return 0;
}
