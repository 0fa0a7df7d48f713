#pragma once
// The rates finder (tesmirol-cli --rates, the page's rates view): which
// crystals give every rate of a list within a tolerance, with the dialog's
// calculation or on a target's (or family's) generators, each rate's
// setting, and, when a link is asked about, each rate's link and the
// crystals ranked by their links.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/link_answer.h"
#include "engine/baud_target.h"
#include "engine/link_check.h"

namespace tesmirol::answers {

// The setting one rate gets on one crystal.
struct RateFit {
  std::int32_t baud = 0;
  const BaudTarget* target = nullptr;  // none: the dialog's calculation
  std::uint32_t clockIndex = 0;        // the target's clock choice
  std::uint32_t clocksPerCycle = 12;
  std::uint32_t smod = 0;
  std::string reloadText;
  double deviation = 0.0;
  std::optional<LinkAnswer> link;  // when a link is asked about

  // The link's verdict: Fails when the other end cannot run near the rate or
  // there is no exact rate to check.
  [[nodiscard]] LinkVerdict Verdict() const noexcept;
  // The largest tolerance left to this 8051's clock; none without a check.
  [[nodiscard]] std::optional<std::uint32_t> MaxOwnTolerancePpm() const noexcept;
};

// One crystal on which every rate fits.
struct CrystalFit {
  std::size_t crystal = 0;  // its index in the crystals given
  std::vector<RateFit> rates;
  LinkRank rank;  // the worst of its rates' links, when a link is asked about
};

struct RatesFinderAnswer {
  std::vector<CrystalFit> crystals;  // in the order given, or ranked by their links
  bool linked = false;               // a link was asked about
};

// The crystals (GBK texts) in the order given, each frequency once: a
// crystal whose exact frequency an earlier one has (the preset list holds a
// few twice) is left out; texts that give no exact frequency are compared as
// texts. Answers their indices.
std::vector<std::size_t> DistinctCrystals(std::span<const std::string_view> crystals);

// The distinct crystals on which every rate comes within tolerancePercent:
// with no targets, the setting the dialog's code would use (its deviation
// as the dialog compares it); with targets, the best setting of the target
// or family. With link, each rate's link is checked and the crystals are
// ranked by RanksBefore, the order given on a tie.
RatesFinderAnswer AnswerRatesFinder(std::span<const std::string_view> crystals, std::span<const std::int32_t> rates,
                                    std::span<const BaudTarget* const> targets, double tolerancePercent,
                                    const LinkAsk* link);

}  // namespace tesmirol::answers
