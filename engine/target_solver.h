#pragma once
// The exact solver for one target of the catalogue: the crystal text read as
// an exact decimal, every rate an exact fraction, and the reload chosen for
// the least absolute error (not by truncation). Separate from CalculateBaud,
// whose float32 steps are the dialog's numbers and stay as they are.
//
// For a target with a clock choice of divider D and a reload register of b
// bits,
//   rate = 2^SMOD x f / (D x n),  n = 2^b - reload, 1 <= n <= 2^b.
// The exact divisor x = 2^SMOD x f / (D x baud) has two neighbours, floor(x)
// and ceil(x); both are tried for each clock choice and each SMOD setting
// the target offers, and the setting with the least |rate - baud| wins
// (ties: the clock listed first, then SMOD = 0, then the larger reload). A
// rate above what n = 1 gives is TooHigh, a rate below what n = 2^b gives is
// TooLow: never a wrapped reload.
//
// The mantissa/exponent generator (GeneratorKind::CcUsart) gives
//   rate = f x m / 2^(28 - E),  m = 256 + BAUD_M, 256 <= m <= 511,
// and at most f / 16 in UART mode (m x 2^E <= 2^24). For each exponent the
// exact mantissa x = baud x 2^(28 - E) / f has two neighbours; those inside
// the exponent's range are tried (x between two exponents' ranges tries the
// nearer end of each), and the least |rate - baud| wins (ties: the smaller
// exponent, then the smaller mantissa).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_target.h"
#include "engine/exact_crystal.h"

namespace tesmirol {

// The inputs of a solve, read once for any number of targets.
struct TargetInputs {
  std::string crystalText;  // GBK, upper-cased as CalculateBaud does
  std::string baudText;     // GBK, as entered
  std::int32_t baud = 0;    // read as CalculateBaud reads it; above 0
  ExactFrequency frequency;
};

// No result when a text is empty, the crystal cannot be read exactly (see
// ReadExactCrystal) or the baud rate does not read as a number above 0.
std::optional<TargetInputs> ReadTargetInputs(std::string_view crystalText, std::string_view baudText);

enum class TargetStatus { Ok, TooLow, TooHigh };

// The status under its own name ("Ok", "TooLow", "TooHigh").
std::string_view TargetStatusName(TargetStatus status) noexcept;

// The most clock choices times SMOD settings a target may offer (the
// mantissa/exponent generator's 17 exponents).
inline constexpr std::size_t kMaxTargetModes = 17;

// One clock choice and SMOD setting of a target: its range verdict and the
// neighbours tried.
struct TargetModeResult {
  std::uint32_t clockIndex = 0;
  std::uint32_t smod = 0;
  TargetStatus status = TargetStatus::Ok;
  std::array<TargetSetting, 2> tried{};  // floor(x), then ceil(x); one when x is whole
  std::size_t triedCount = 0;            // 0 unless status is Ok
  std::size_t bestTried = 0;             // index into tried of the lesser error
};

// One target solved.
struct TargetSolution {
  const BaudTarget* target = nullptr;
  TargetStatus status = TargetStatus::Ok;                 // Ok when any mode is Ok
  std::array<TargetModeResult, kMaxTargetModes> modes{};  // clock by clock, SMOD = 0 before 1
  std::size_t modeCount = 1;                              // clocks x (2 where SMOD doubles the rate, else 1)
  TargetSetting best;                                     // the winner over every setting tried; valid when Ok
  double minRate = 0.0;                                   // the lowest rate: the slowest clock, SMOD = 0, n = 2^b
  double maxRate = 0.0;  // the highest: the quickest clock, SMOD = 1 where it applies, n = 1
};

// Solves one target.
TargetSolution SolveTarget(const BaudTarget& target, const TargetInputs& inputs);

// The contract's entry point: reads the texts, then solves. No result for
// inputs ReadTargetInputs refuses.
std::optional<TargetSolution> SolveTarget(const BaudTarget& target, std::string_view crystalText,
                                          std::string_view baudText);

// Several targets (a chip family) solved, and the one with the least
// absolute error among those that are Ok (ties: the first in catalogue
// order); no best when none is Ok.
struct FamilySolution {
  std::vector<TargetSolution> solutions;
  std::optional<std::size_t> best;

  // The solution of the target whose setting SolveTargets chose, null when
  // no target has a setting in range.
  [[nodiscard]] const TargetSolution* Chosen() const noexcept { return best ? &solutions[*best] : nullptr; }
};

FamilySolution SolveTargets(std::span<const BaudTarget* const> targets, const TargetInputs& inputs);

// The setting of one clock choice, SMOD and divisor n (1 .. 2^b): reload,
// bytes, the exact rate in lowest terms and the deviation from baud (none
// when baud is 0). For the mantissa/exponent generator n is the mantissa
// 256 + BAUD_M (256 .. 511), which multiplies the rate.
TargetSetting MakeTargetSetting(const BaudTarget& target, const ExactFrequency& frequency, std::uint32_t clockIndex,
                                std::uint32_t smod, std::uint64_t divisor, std::int32_t baud);

// Whether a's |rate - baud| is smaller than b's, exactly.
bool HasLessError(const TargetSetting& a, const TargetSetting& b, const ExactFrequency& frequency, std::int32_t baud);

// The largest register value the solver and --reload take: 2^bits - 1, or
// 63 for the ADuC's T3FD (the range the data sheet's choice of DIV leaves it
// in).
std::uint32_t MostReload(const BaudTarget& target) noexcept;

// The rates a given reload gives a target, one setting per clock choice and
// SMOD setting it offers; no result when the reload is above MostReload.
std::optional<std::vector<TargetSetting>> TargetRatesForReload(const BaudTarget& target,
                                                               const ExactFrequency& frequency, std::uint32_t reload,
                                                               std::int32_t baud = 0);

}  // namespace tesmirol
