#pragma once
// The baud-rate engine: from the crystal text and the baud text to every
// number the program shows and the code generator uses.
//
// Model: an 8051 whose UART runs in mode 1 with Timer 1 in 8-bit auto-reload
// mode, 12 oscillator periods per machine cycle:
//   baud = 2^SMOD / 32 * f / (12 * (256 - TH1))

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesmirol {

enum class ModeStatus { TooLow, TooHigh, Ok };

// The result for one SMOD setting.
struct ModeResult {
  std::int32_t reload = 0;    // TH1; below 0 when the rate is too low for the crystal
  std::int32_t divisor = 0;   // 256 - reload
  std::int32_t achieved = 0;  // the rate this reload really gives, truncated
  double deviation = 0.0;     // (achieved - baud) * 100 / baudF, in percent
  double deviationAbs = 0.0;  // |deviation rounded to float32|, compared with the 1 % tolerance
  ModeStatus status = ModeStatus::Ok;
};

// One run of CalculateBaud. Texts are GBK byte strings.
struct BaudCalculation {
  std::string crystalText;  // the crystal text upper-cased
  std::string baudText;     // the baud text exactly as entered
  std::int32_t baud = 0;
  float frequency = 0.0F;  // crystal frequency in hertz
  std::int32_t crystalHz = 0;
  std::int32_t minBps = 0;  // SMOD = 0 with reload 0
  std::int32_t maxBps = 0;  // SMOD = 1 with reload 255
  float baudF = 0.0F;
  float baud384 = 0.0F;
  std::array<ModeResult, 2> mode{};  // index = SMOD
};

// Computes both SMOD settings for the given texts. No result when a text is
// empty, the crystal text does not start with a number, or the inputs make a
// divisor zero or a value that does not fit its 32-bit integer (a baud rate of
// 0, a crystal of 0 Hz, 2147483648 Hz and above, opposite signs close to 0).
std::optional<BaudCalculation> CalculateBaud(std::string_view crystalText, std::string_view baudText);

// The rates that one reload value gives a crystal, for both SMOD settings.
struct ReloadRates {
  std::string crystalText;  // the crystal text upper-cased
  float frequency = 0.0F;   // crystal frequency in hertz
  std::int32_t crystalHz = 0;
  std::int32_t reload = 0;                 // TH1, 0 to 255
  std::int32_t divisor = 0;                // 256 - reload
  std::array<std::int32_t, 2> achieved{};  // index = SMOD, truncated as CalculateBaud does
};

// The reverse of CalculateBaud: the rate a given reload really gives, worked
// out with CalculateBaud's own reading of the crystal text and its own
// formulas. No result when the crystal text is empty or does not start with
// a number, the crystal is 2147483648 Hz or more, or the reload is outside
// 0 to 255.
std::optional<ReloadRates> CalculateReloadRates(std::string_view crystalText, std::int32_t reload);

// An achieved rate against a rate asked for (not 0), the deviation worked
// out as the calculation works it out for each SMOD setting: achieved,
// deviation and deviationAbs of the result are set, so that
// IsOutOfTolerance reads it; the reload look-up compares its rates so.
ModeResult CompareRate(std::int32_t achieved, std::int32_t baud) noexcept;

// The status under its own name ("TooLow", "TooHigh", "Ok"), as reports and
// tables write it.
std::string_view ModeStatusName(ModeStatus status) noexcept;

// The one tolerance test: deviationAbs greater than 1.0 %; exactly 1.0 passes.
bool IsOutOfTolerance(const ModeResult& mode) noexcept;

}  // namespace tesmirol
