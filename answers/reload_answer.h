#pragma once
// The reload look-up answered once for the command line and the page: the
// rates one reload value gives a crystal, on the classic Timer 1 (both SMOD
// settings, the dialog's own float32 formulas) or on targets of the
// catalogue (every clock choice and SMOD setting, exact).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/baud_calculation.h"
#include "engine/exact_crystal.h"
#include "engine/target_solver.h"

namespace tesmirol::answers {

// The largest reload the look-up reads: the widest register is 16 bits;
// the classic Timer 1's TH1 takes 8.
inline constexpr std::uint32_t kMostReload = 0xFFFFU;
inline constexpr std::uint32_t kClassicMostReload = 0xFFU;

// A reload as the user writes it: "0xFD" (or "0XFD") in hexadecimal, "253"
// in decimal, the whole text a number up to kMostReload.
std::optional<std::uint32_t> ReadReloadText(std::string_view text);

// One target's rates: a setting per clock choice and SMOD setting, or none
// when the reload is wider than the target's register.
struct TargetReload {
  const BaudTarget* target = nullptr;
  std::optional<std::vector<TargetSetting>> settings;
};

struct ReloadAnswer {
  bool onTargets = false;  // targets were asked about, not the classic Timer 1
  std::uint32_t reload = 0;
  std::string crystalText;  // upper-cased, GBK
  // The rate the rates are compared with, read as the calculation reads
  // it; 0 when none is asked about or it is not above 0.
  std::int32_t baud = 0;
  // Without targets: the classic Timer 1's rates; none when the crystal
  // gives no result or the reload is wider than TH1. With a rate, each SMOD
  // setting's rate against it (classicModes[smod]; empty without).
  std::optional<ReloadRates> classic;
  std::vector<ModeResult> classicModes;
  // With targets: the crystal as the exact reader read it (none when it
  // cannot) and each target's rates, in the order given (none without the
  // crystal).
  std::optional<ExactFrequency> frequency;
  std::vector<TargetReload> targets;

  // Whether there are rates to show: the classic ones, or the crystal read
  // for the targets.
  [[nodiscard]] bool HasResult() const noexcept;
};

// The rates reload gives the crystal (GBK) on the targets, or on the
// classic Timer 1 when targets is empty; with a rate (baudGbk, not empty),
// each rate's deviation from it.
ReloadAnswer AnswerReload(std::string_view crystalGbk, std::uint32_t reload, std::span<const BaudTarget* const> targets,
                          std::string_view baudGbk = {});

}  // namespace tesmirol::answers
