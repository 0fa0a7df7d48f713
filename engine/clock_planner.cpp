#include "engine/clock_planner.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <numeric>
#include <string>
#include <utility>

#include "engine/target_catalogue.h"

namespace tesmirol {
namespace {

__extension__ using Int128 = __int128;

// 1.8432 MHz: the UART crystal family's base (16 x 115200).
constexpr std::uint64_t kUartCrystalBase = 1843200;
constexpr std::uint64_t kMegahertz = 1000000;

// One clock choice and SMOD setting of a generator: the rate is
// 2^smod x f / (divider x n), n = 1 .. limit.
struct Mode {
  std::uint64_t divider = 1;
  std::uint32_t smod = 0;
  std::uint64_t limit = 1;

  friend bool operator==(const Mode&, const Mode&) = default;
};

// One wanted rate and every mode that may serve it.
struct RateModes {
  std::int32_t baud = 0;
  std::vector<Mode> modes;
};

// The exact clocks of one rate on one mode within a range: the multiples of
// step from first to last (none when first > last).
struct ExactRun {
  std::uint64_t step = 1;
  std::uint64_t first = 1;
  std::uint64_t last = 0;
  std::uint64_t highest = 0;  // the highest exact clock of the mode at all (n = limit)

  [[nodiscard]] std::uint64_t Count() const { return first > last ? 0 : (last - first) / step + 1; }
};

// A clock's worst error over the rates, or nothing where a rate has no
// setting within the tolerance.
struct Score {
  RelativeError worst;
  std::size_t index = 0;
};

// a < b for the errors of this file: numerators and denominators stay below
// 2^46 (a clock below 2^40 doubled; baud x D x n at most the clock's
// double plus baud x D, below 2^45), so the cross products fit 128 bits.
bool Less(const RelativeError& a, const RelativeError& b) {
  return a.numerator * b.denominator < b.numerator * a.denominator;
}

std::vector<Mode> ModesOf(std::span<const BaudTarget* const> targets) {
  std::vector<Mode> modes;
  for (const BaudTarget* target : targets) {
    for (const ClockChoice& clock : target->clocks) {
      for (std::uint32_t smod = 0; smod < (target->smodDoubles ? 2U : 1U); ++smod) {
        const Mode mode{clock.divider, smod, std::uint64_t{1} << target->reloadBits};
        if (std::find(modes.begin(), modes.end(), mode) == modes.end()) {
          modes.push_back(mode);
        }
      }
    }
  }
  return modes;
}

ExactRun RunOf(std::int32_t baud, const Mode& mode, std::uint64_t low, std::uint64_t high) {
  // f = g n / 2^smod with g = baud x D is whole when n is a multiple of
  // 2^smod / gcd(g, 2^smod); then f is a multiple of g / gcd(g, 2^smod).
  const std::uint64_t g = static_cast<std::uint64_t>(baud) * mode.divider;
  const std::uint64_t power = std::uint64_t{1} << mode.smod;
  const std::uint64_t common = std::gcd(g, power);
  ExactRun run;
  run.step = g / common;
  run.highest = run.step * (mode.limit / (power / common));
  const std::uint64_t top = std::min(high, run.highest);
  run.first = (low + run.step - 1) / run.step * run.step;
  run.last = run.first <= top ? run.first + (top - run.first) / run.step * run.step : 0;
  return run;
}

// The exact clocks of the rate on each of its modes within [low, high].
std::vector<ExactRun> RunsOf(const RateModes& rate, std::uint64_t low, std::uint64_t high) {
  std::vector<ExactRun> runs;
  runs.reserve(rate.modes.size());
  std::transform(rate.modes.begin(), rate.modes.end(), std::back_inserter(runs),
                 [&rate, low, high](const Mode& mode) { return RunOf(rate.baud, mode, low, high); });
  return runs;
}

// The least relative error of the rate at clock f over its modes, trying
// both neighbours of the exact divisor where it lies in the register's
// range, as the exact solver does; the deviation (percent) of that setting.
std::optional<std::pair<RelativeError, double>> BestError(const RateModes& rate, std::uint64_t f) {
  std::optional<std::pair<RelativeError, double>> best;
  for (const Mode& mode : rate.modes) {
    const Uint128 numerator = Uint128{f} << mode.smod;
    const Uint128 unit = Uint128{mode.divider} * static_cast<std::uint32_t>(rate.baud);
    const Uint128 floor = numerator / unit;
    const bool whole = numerator % unit == 0;
    if (floor == 0 || floor > mode.limit || (floor == mode.limit && !whole)) {
      continue;
    }
    for (Uint128 n = floor; n <= floor + (whole ? 0U : 1U); ++n) {
      const Uint128 wanted = unit * n;
      const RelativeError error{numerator > wanted ? numerator - wanted : wanted - numerator, wanted};
      if (!best || Less(error, best->first)) {
        const Int128 signedError = static_cast<Int128>(numerator) - static_cast<Int128>(wanted);
        best = std::pair{error, static_cast<double>(signedError * 100) / static_cast<double>(wanted)};
      }
    }
  }
  return best;
}

bool IsExactFor(const RateModes& rate, std::uint64_t f) {
  return std::any_of(rate.modes.begin(), rate.modes.end(), [&rate, f](const Mode& mode) {
    const Uint128 numerator = Uint128{f} << mode.smod;
    const Uint128 unit = Uint128{mode.divider} * static_cast<std::uint32_t>(rate.baud);
    return numerator % unit == 0 && numerator / unit >= 1 && numerator / unit <= mode.limit;
  });
}

bool WithinTolerance(double deviation, double tolerancePercent) {
  return !(deviation > tolerancePercent || -deviation > tolerancePercent);
}

TargetInputs InputsAt(std::uint64_t hertz, std::int32_t baud) {
  TargetInputs inputs;
  inputs.crystalText = std::to_string(hertz);
  inputs.baudText = std::to_string(baud);
  inputs.baud = baud;
  inputs.frequency = ExactFrequency{hertz, 1};
  return inputs;
}

// The two questions behind one search: the rates and their modes, and how a
// clock is scored (each rate alone, or the UART planner).
class ClockSearch {
 public:
  ClockSearch(std::vector<RateModes> rates, const ClockFinderOptions& options)
      : m_rates(std::move(rates)), m_options(options), m_limit(std::max<std::size_t>(options.limit, 1)) {}

  ClockSearch(std::vector<RateModes> rates, const ClockFinderOptions& options,
              std::span<const BaudTarget* const> chipTargets, std::span<const UartRequest> requests)
      : m_rates(std::move(rates)),
        m_options(options),
        m_chipTargets(chipTargets),
        m_requests(requests),
        m_plan(true),
        m_limit(std::max<std::size_t>(options.limit, 1)) {}

  void SetTargets(std::span<const BaudTarget* const> targets) { m_targets = targets; }

  ClockFinderResult Run(const ClockSpan& span) {
    ClockFinderResult result;
    if (m_rates.empty()) {
      result.status = ClockFinderStatus::NoRates;
      return result;
    }
    if (span.low == 0 || span.low > span.high || span.high > kMaxClockHz) {
      result.status = ClockFinderStatus::EmptyRange;
      return result;
    }
    std::vector<std::uint64_t> near;
    const bool stepped = !span.steps.empty();
    if (stepped) {
      std::copy_if(span.steps.begin(), span.steps.end(), std::back_inserter(near),
                   [&span](std::uint64_t step) { return step >= span.low && step <= span.high; });
      if (near.empty()) {
        result.status = ClockFinderStatus::EmptyRange;
        return result;
      }
    } else {
      Runs(span, result);
    }
    std::vector<std::pair<std::uint64_t, Score>> listed;
    if (!stepped) {
      // Exact for every rate alone; several UARTs may still have to share a
      // timer at a setting that is not exact for all of them.
      for (const std::uint64_t f : ExactClocks()) {
        if (const auto score = ScoreAt(f); score && score->worst.numerator == 0) {
          listed.emplace_back(f, *score);
        } else {
          near.push_back(f);
        }
      }
      if (listed.size() < m_limit && result.candidateCount > kMaxClockCandidates) {
        // Too many to look for near-exact clocks: the exact ones alone, or
        // a refusal when there are none.
        result.nearSkipped = true;
        if (listed.empty() && near.empty()) {
          result.status = ClockFinderStatus::SearchTooWide;
          return result;
        }
      } else if (listed.size() < m_limit) {
        std::vector<std::uint64_t> more = NearClocks(span, listed);
        near.insert(near.end(), more.begin(), more.end());
      }
    }
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    result.exactCount = listed.size();
    // Several UARTs: each rate alone bounds the plan's worst error from
    // below, so the candidates are planned in the order of that bound until
    // the list is full and no later one can rank among it.
    std::vector<std::pair<std::uint64_t, Score>> bounded;
    for (const std::uint64_t f : near) {
      if (const auto bound = AloneScore(f)) {
        bounded.emplace_back(f, *bound);
      }
    }
    if (m_plan) {
      std::stable_sort(bounded.begin(), bounded.end(),
                       [](const auto& a, const auto& b) { return Less(a.second.worst, b.second.worst); });
    }
    std::vector<RelativeError> worsts(listed.size());
    std::transform(listed.begin(), listed.end(), worsts.begin(), [](const auto& entry) { return entry.second.worst; });
    for (const auto& [f, bound] : bounded) {
      if (m_plan && worsts.size() >= m_limit) {
        std::nth_element(worsts.begin(), worsts.begin() + static_cast<std::ptrdiff_t>(m_limit - 1), worsts.end(), Less);
        if (Less(worsts[m_limit - 1], bound.worst)) {
          break;
        }
      }
      const auto score = m_plan ? ScoreAt(f) : std::optional<Score>(bound);
      if (!score || (!stepped && !IsLocalLeast(f, *score, span))) {
        continue;
      }
      if (score->worst.numerator == 0) {
        ++result.exactCount;
      }
      listed.emplace_back(f, *score);
      worsts.push_back(score->worst);
    }
    if (listed.empty()) {
      Explain(span, result);
      return result;
    }
    Rank(listed, result);
    return result;
  }

 private:
  // The exact clocks of every rate and mode in the range, and how many
  // candidates the search for near-exact clocks would try.
  void Runs(const ClockSpan& span, ClockFinderResult& result) {
    m_runs.clear();
    std::uint64_t modeCount = 0;
    for (const RateModes& rate : m_rates) {
      m_runs.push_back(RunsOf(rate, span.low, span.high));
      modeCount += rate.modes.size();
    }
    // Each exact clock of a rate is tried, and the two clocks where it meets
    // the next exact clock below and above of every mode of every other rate.
    for (std::size_t rate = 0; rate < m_rates.size(); ++rate) {
      const std::uint64_t others = modeCount - m_rates[rate].modes.size();
      result.candidateCount += CountOf(rate) * (1 + 4 * others);
    }
  }

  [[nodiscard]] std::uint64_t CountOf(std::size_t rate) const {
    return std::accumulate(m_runs[rate].begin(), m_runs[rate].end(), std::uint64_t{0},
                           [](std::uint64_t sum, const ExactRun& run) { return sum + run.Count(); });
  }

  // The exact clocks of the rate with the fewest, each checked against the
  // other rates.
  [[nodiscard]] std::vector<std::uint64_t> ExactClocks() const {
    std::size_t fewest = 0;
    for (std::size_t rate = 1; rate < m_rates.size(); ++rate) {
      if (CountOf(rate) < CountOf(fewest)) {
        fewest = rate;
      }
    }
    std::vector<std::uint64_t> clocks;
    for (const ExactRun& run : m_runs[fewest]) {
      for (std::uint64_t f = run.first; f <= run.last && run.Count() > 0; f += run.step) {
        clocks.push_back(f);
      }
    }
    std::sort(clocks.begin(), clocks.end());
    clocks.erase(std::unique(clocks.begin(), clocks.end()), clocks.end());
    std::erase_if(clocks, [this](std::uint64_t f) {
      return !std::all_of(m_rates.begin(), m_rates.end(), [f](const RateModes& rate) { return IsExactFor(rate, f); });
    });
    return clocks;
  }

  // Where the worst error may be locally least: the range's ends, each
  // rate's exact clocks, and where one rate's error meets another's
  // between their neighbouring exact clocks (the harmonic mean of the two
  // clocks, rounded both ways). The exact ones already found are left out.
  [[nodiscard]] std::vector<std::uint64_t> NearClocks(const ClockSpan& span,
                                                      const std::vector<std::pair<std::uint64_t, Score>>& exact) const {
    std::vector<std::uint64_t> clocks{span.low, span.high};
    const auto balance = [&clocks, &span](std::uint64_t a, std::uint64_t b) {
      const Uint128 twice = Uint128{a} * b * 2;
      const Uint128 sum = Uint128{a} + b;
      const auto lower = static_cast<std::uint64_t>(twice / sum);
      const std::array<std::uint64_t, 2> around{lower, lower + 1};
      std::copy_if(around.begin(), around.end(), std::back_inserter(clocks),
                   [&span](std::uint64_t f) { return f >= span.low && f <= span.high; });
    };
    // Every mode's exact clocks of every rate, unbounded: their spacing.
    std::vector<std::vector<ExactRun>> everywhere;
    std::transform(m_rates.begin(), m_rates.end(), std::back_inserter(everywhere),
                   [](const RateModes& rate) { return RunsOf(rate, 1, kMaxClockHz); });
    for (std::size_t i = 0; i < m_rates.size(); ++i) {
      for (const ExactRun& run : m_runs[i]) {
        for (std::uint64_t fi = run.first; run.Count() > 0 && fi <= run.last; fi += run.step) {
          clocks.push_back(fi);
          for (std::size_t j = 0; j < m_rates.size(); ++j) {
            for (const ExactRun& other : j == i ? std::span<const ExactRun>{} : everywhere[j]) {
              const std::uint64_t below = fi / other.step * other.step;
              if (below >= other.step && below <= other.highest) {
                balance(fi, below);
              }
              if (below + other.step <= other.highest) {
                balance(fi, below + other.step);
              }
            }
          }
        }
      }
    }
    std::sort(clocks.begin(), clocks.end());
    clocks.erase(std::unique(clocks.begin(), clocks.end()), clocks.end());
    std::erase_if(clocks, [&exact](std::uint64_t f) {
      return std::any_of(exact.begin(), exact.end(), [f](const auto& entry) { return entry.first == f; });
    });
    return clocks;
  }

  // Each rate alone at f, its modes on their own (for several UARTs, a
  // bound the plan cannot beat): the worst error, or nothing beyond the
  // tolerance.
  [[nodiscard]] std::optional<Score> AloneScore(std::uint64_t f) const {
    Score score;
    for (std::size_t index = 0; index < m_rates.size(); ++index) {
      const auto best = BestError(m_rates[index], f);
      if (!best || !WithinTolerance(best->second, m_options.tolerancePercent)) {
        return std::nullopt;
      }
      if (index == 0 || Less(score.worst, best->first)) {
        score.worst = best->first;
        score.index = index;
      }
    }
    return score;
  }

  [[nodiscard]] std::optional<UartPlan> PlanAt(std::uint64_t f) const {
    PlanResult result = PlanUarts(m_chipTargets, InputsAt(f, 1), m_requests, m_options.tolerancePercent);
    return std::move(result.plan);
  }

  [[nodiscard]] std::optional<Score> ScoreAt(std::uint64_t f) const {
    auto score = AloneScore(f);
    if (!score || !m_plan) {
      return score;
    }
    const auto plan = PlanAt(f);
    if (!plan) {
      return std::nullopt;
    }
    const PlannedUart& worst = plan->uarts.at(plan->worst);
    score->index = plan->worst;
    score->worst = ErrorOf(worst.setting, ExactFrequency{f, 1}, worst.request.baud);
    return score;
  }

  // Whether neither neighbouring hertz in the range has a smaller worst error.
  [[nodiscard]] bool IsLocalLeast(std::uint64_t f, const Score& score, const ClockSpan& span) const {
    const auto noLess = [&](std::uint64_t neighbour) {
      if (neighbour < span.low || neighbour > span.high) {
        return true;
      }
      const auto other = ScoreAt(neighbour);
      return !other || !Less(other->worst, score.worst);
    };
    return noLess(f - 1) && noLess(f + 1);
  }

  // Why nothing was found: the first rate that no clock of the range
  // brings within the tolerance on its own, or else no common clock.
  void Explain(const ClockSpan& span, ClockFinderResult& result) const {
    result.status = ClockFinderStatus::NoCommonClock;
    for (std::size_t index = 0; index < m_rates.size(); ++index) {
      const auto within = [this, index](std::uint64_t f) {
        const auto best = BestError(m_rates[index], f);
        return best && WithinTolerance(best->second, m_options.tolerancePercent);
      };
      bool reachable = false;
      if (!span.steps.empty()) {
        reachable = std::any_of(span.steps.begin(), span.steps.end(), [&span, &within](std::uint64_t step) {
          return step >= span.low && step <= span.high && within(step);
        });
      } else {
        // Between its exact clocks a rate's error only grows or falls, so
        // without one in the range its least error lies at an end.
        reachable = CountOf(index) > 0 || within(span.low) || within(span.high);
      }
      if (!reachable) {
        result.status = ClockFinderStatus::RateOutOfReach;
        result.rateIndex = index;
        return;
      }
    }
  }

  // Orders the clocks and fills in each one's settings.
  void Rank(std::vector<std::pair<std::uint64_t, Score>>& listed, ClockFinderResult& result) const {
    std::vector<CommonClock> common;
    common.reserve(listed.size());
    std::transform(listed.begin(), listed.end(), std::back_inserter(common),
                   [this](const auto& entry) { return NearestCommonClock(entry.first, m_options.commonClocks); });
    std::vector<std::size_t> order(listed.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&listed, &common](std::size_t a, std::size_t b) {
      if (Less(listed[a].second.worst, listed[b].second.worst)) {
        return true;
      }
      if (Less(listed[b].second.worst, listed[a].second.worst)) {
        return false;
      }
      if (common[a].distance != common[b].distance) {
        return common[a].distance < common[b].distance;
      }
      return listed[a].first < listed[b].first;
    });
    order.resize(std::min(order.size(), m_limit));
    for (const std::size_t index : order) {
      result.clocks.push_back(Describe(listed[index].first, listed[index].second, common[index]));
    }
  }

  [[nodiscard]] ClockCandidate Describe(std::uint64_t f, const Score& score, const CommonClock& common) const {
    ClockCandidate candidate;
    candidate.hertz = f;
    candidate.exact = score.worst.numerator == 0;
    candidate.worst = score.worst;
    candidate.worstIndex = score.index;
    candidate.commonKind = common.kind;
    candidate.commonHertz = common.hertz;
    candidate.commonDistance = common.distance;
    if (m_plan) {
      candidate.plan = PlanAt(f);
      candidate.worstDeviation = candidate.plan->uarts.at(candidate.plan->worst).setting.deviation;
      return candidate;
    }
    for (const RateModes& rate : m_rates) {
      const TargetInputs inputs = InputsAt(f, rate.baud);
      const FamilySolution family = SolveTargets(m_targets, inputs);
      ClockRateSetting setting;
      setting.baud = rate.baud;
      if (family.best) {
        const TargetSolution& solution = family.solutions.at(*family.best);
        setting.target = solution.target;
        setting.setting = solution.best;
        setting.error = ErrorOf(solution.best, inputs.frequency, rate.baud);
      }
      candidate.rates.push_back(setting);
    }
    candidate.worstDeviation = candidate.rates.at(score.index).setting.deviation;
    return candidate;
  }

  std::vector<RateModes> m_rates;
  const ClockFinderOptions& m_options;
  std::span<const BaudTarget* const> m_targets;
  std::span<const BaudTarget* const> m_chipTargets;
  std::span<const UartRequest> m_requests;
  bool m_plan = false;
  std::size_t m_limit = 1;  // at least one clock listed
  std::vector<std::vector<ExactRun>> m_runs;
};

// The generators the finder searches: those that divide the clock by a
// reload count. The mantissa/exponent generator multiplies it instead, and
// the ADuC's Timer 3 counts 64 + T3FD under a constant 4; both are left out
// (the command line refuses --find-clock for them), so that no rate is ever
// scored by a formula that is not its generator's.
std::vector<const BaudTarget*> CountingTargets(std::span<const BaudTarget* const> targets) {
  std::vector<const BaudTarget*> counting;
  std::copy_if(targets.begin(), targets.end(), std::back_inserter(counting),
               [](const BaudTarget* target) { return DividesByReloadCount(*target); });
  return counting;
}

}  // namespace

ClockFinderResult FindClocksForRates(std::span<const BaudTarget* const> targets, std::span<const std::int32_t> rates,
                                     const ClockSpan& span, const ClockFinderOptions& options) {
  const std::vector<const BaudTarget*> counting = CountingTargets(targets);
  const std::vector<Mode> modes = ModesOf(counting);
  std::vector<RateModes> rateModes;
  for (const std::int32_t baud : rates) {
    if (baud <= 0 || modes.empty()) {
      ClockFinderResult result;
      result.status = ClockFinderStatus::RateOutOfReach;
      result.rateIndex = rateModes.size();
      return result;
    }
    rateModes.push_back({baud, modes});
  }
  ClockSearch search(std::move(rateModes), options);
  search.SetTargets(counting);
  return search.Run(span);
}

ClockFinderResult FindClocksForPlan(std::span<const BaudTarget* const> chipTargets,
                                    std::span<const UartRequest> requests, const ClockSpan& span,
                                    const ClockFinderOptions& options) {
  const std::vector<const BaudTarget*> counting = CountingTargets(chipTargets);
  std::vector<RateModes> rateModes;
  for (const UartRequest& request : requests) {
    const std::vector<const BaudTarget*> ofUart = TargetsOfUart(counting, request.uart);
    if (request.baud <= 0 || ofUart.empty()) {
      ClockFinderResult result;
      result.status = ClockFinderStatus::RateOutOfReach;
      result.rateIndex = rateModes.size();
      return result;
    }
    rateModes.push_back({request.baud, ModesOf(ofUart)});
  }
  ClockSearch search(std::move(rateModes), options, counting, requests);
  return search.Run(span);
}

std::optional<std::vector<std::uint64_t>> SharedClockSteps(std::span<const BaudTarget* const> targets) {
  if (targets.empty() || targets.front()->clockSteps.empty()) {
    return std::nullopt;
  }
  const std::vector<std::uint64_t>& steps = targets.front()->clockSteps;
  if (!std::all_of(targets.begin(), targets.end(),
                   [&steps](const BaudTarget* target) { return target->clockSteps == steps; })) {
    return std::nullopt;
  }
  return steps;
}

CommonClock NearestCommonClock(std::uint64_t hertz, std::span<const std::uint64_t> listed) {
  const auto distance = [hertz](std::uint64_t other) { return hertz > other ? hertz - other : other - hertz; };
  // The nearest multiple of base, at least base itself; the lower on a tie.
  const auto nearestMultiple = [hertz, &distance](std::uint64_t base) {
    const std::uint64_t below = std::max<std::uint64_t>(hertz / base, 1) * base;
    const std::uint64_t above = below + base;
    return distance(above) < distance(below) ? above : below;
  };
  // Kinds in order of preference: on equal distance the earlier stays.
  CommonClock best{CommonClockKind::WholeMegahertz, nearestMultiple(kMegahertz), 0};
  best.distance = distance(best.hertz);
  const std::uint64_t uart = nearestMultiple(kUartCrystalBase);
  if (distance(uart) <= best.distance) {
    best = {CommonClockKind::UartCrystal, uart, distance(uart)};
  }
  for (const std::uint64_t crystal : listed) {
    if (distance(crystal) < best.distance ||
        (distance(crystal) == best.distance && best.kind != CommonClockKind::Listed)) {
      best = {CommonClockKind::Listed, crystal, distance(crystal)};
    }
  }
  return best;
}

std::string_view ClockFinderStatusName(ClockFinderStatus status) noexcept {
  switch (status) {
    case ClockFinderStatus::EmptyRange:
      return "EmptyRange";
    case ClockFinderStatus::NoRates:
      return "NoRates";
    case ClockFinderStatus::SearchTooWide:
      return "SearchTooWide";
    case ClockFinderStatus::RateOutOfReach:
      return "RateOutOfReach";
    case ClockFinderStatus::NoCommonClock:
      return "NoCommonClock";
    case ClockFinderStatus::Found:
      break;
  }
  return "Found";
}

std::string_view CommonClockKindName(CommonClockKind kind) noexcept {
  switch (kind) {
    case CommonClockKind::Listed:
      return "Listed";
    case CommonClockKind::UartCrystal:
      return "UartCrystal";
    case CommonClockKind::WholeMegahertz:
      break;
  }
  return "WholeMegahertz";
}

}  // namespace tesmirol
