#include "engine/uart_planner.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "engine/relative_error.h"
#include "engine/target_catalogue.h"

namespace tesmirol {
namespace {

// One request with what its generators give it alone.
struct RequestCandidates {
  std::vector<const BaudTarget*> targets;
  std::vector<TargetSolution> alone;  // per target
  std::vector<RelativeError> errors;  // per target, of its best setting (when Ok)
  std::vector<bool> acceptable;       // per target: Ok and within the tolerance
  std::optional<std::size_t> bestAlone;
};

bool WithinTolerance(const TargetSetting& setting, double tolerancePercent) {
  return !(std::fabs(setting.deviation) > tolerancePercent);
}

TargetInputs InputsFor(const TargetInputs& crystal, const UartRequest& request) {
  TargetInputs inputs = crystal;
  inputs.baud = request.baud;
  inputs.baudText = request.baudText;
  return inputs;
}

RequestCandidates SolveAlone(std::span<const BaudTarget* const> chipTargets, const TargetInputs& inputs,
                             double tolerancePercent) {
  RequestCandidates candidates;
  for (const BaudTarget* target : chipTargets) {
    candidates.targets.push_back(target);
    candidates.alone.push_back(SolveTarget(*target, inputs));
    const TargetSolution& solution = candidates.alone.back();
    const bool ok = solution.status == TargetStatus::Ok;
    candidates.errors.push_back(ok ? ErrorOf(solution.best, inputs.frequency, inputs.baud) : RelativeError{});
    candidates.acceptable.push_back(ok && WithinTolerance(solution.best, tolerancePercent));
    if (ok && (!candidates.bestAlone || HasLessError(solution.best, candidates.alone.at(*candidates.bestAlone).best,
                                                     inputs.frequency, inputs.baud))) {
      candidates.bestAlone = candidates.alone.size() - 1;
    }
  }
  return candidates;
}

// The members of one timer's group: request indices and their targets.
struct GroupMember {
  std::size_t request = 0;
  const BaudTarget* target = nullptr;
};

// The settings one timer's group gets, member by member, and the worst error.
struct GroupSettings {
  std::vector<TargetSetting> settings;
  RelativeError worst;
  bool acceptable = false;
};

// Each member's clock index for the clock of P periods a count, or nothing
// when a member's generator lacks it.
std::optional<std::vector<std::uint32_t>> CommonClock(const std::vector<GroupMember>& members,
                                                      std::uint32_t clocksPerCycle) {
  std::vector<std::uint32_t> indices;
  for (const GroupMember& member : members) {
    const auto& clocks = member.target->clocks;
    const auto found = std::find_if(clocks.begin(), clocks.end(), [clocksPerCycle](const ClockChoice& clock) {
      return clock.clocksPerCycle == clocksPerCycle;
    });
    if (found == clocks.end()) {
      return std::nullopt;
    }
    indices.push_back(static_cast<std::uint32_t>(found - clocks.begin()));
  }
  return indices;
}

// The member's best setting at divisor n: the SMOD setting of less error (SMOD = 0 on a tie).
TargetSetting MemberSetting(const GroupMember& member, const TargetInputs& inputs, std::uint32_t clockIndex,
                            std::uint64_t divisor) {
  TargetSetting best = MakeTargetSetting(*member.target, inputs.frequency, clockIndex, 0, divisor, inputs.baud);
  if (member.target->smodDoubles) {
    const TargetSetting doubled =
        MakeTargetSetting(*member.target, inputs.frequency, clockIndex, 1, divisor, inputs.baud);
    if (HasLessError(doubled, best, inputs.frequency, inputs.baud)) {
      best = doubled;
    }
  }
  return best;
}

// The divisors worth trying for one clock: the neighbours of each member's
// exact divisor at each SMOD setting, of the midpoint of every two of them,
// and the register's ends.
std::vector<std::uint64_t> CandidateDivisors(const std::vector<GroupMember>& members,
                                             const std::vector<TargetInputs>& inputs,
                                             const std::vector<std::uint32_t>& clockIndices, std::uint64_t limit) {
  std::vector<std::uint64_t> floors;
  for (std::size_t index = 0; index < members.size(); ++index) {
    const BaudTarget& target = *members[index].target;
    const TargetInputs& in = inputs.at(members[index].request);
    for (std::uint32_t smod = 0; smod < (target.smodDoubles ? 2U : 1U); ++smod) {
      floors.push_back(ExactDivisorFloor(in.frequency, target.clocks.at(clockIndices[index]).divider, smod, in.baud));
    }
  }
  std::vector<std::uint64_t> divisors{1, limit};
  for (std::size_t i = 0; i < floors.size(); ++i) {
    divisors.push_back(floors[i]);
    divisors.push_back(floors[i] + 1);
    for (std::size_t j = i + 1; j < floors.size(); ++j) {
      const std::uint64_t middle = (floors[i] + floors[j]) / 2;
      divisors.insert(divisors.end(), {middle, middle + 1, middle + 2});
    }
  }
  for (std::uint64_t& divisor : divisors) {
    divisor = std::clamp<std::uint64_t>(divisor, 1, limit);
  }
  std::sort(divisors.begin(), divisors.end());
  divisors.erase(std::unique(divisors.begin(), divisors.end()), divisors.end());
  return divisors;
}

// Whether one timer setting could serve every member within the tolerance,
// judged in doubles with a margin: a quick no for rates far apart.
bool MightShare(const std::vector<GroupMember>& members, const std::vector<TargetInputs>& inputs,
                double tolerancePercent) {
  double low = 0.0;
  double high = 1e300;
  for (const GroupMember& member : members) {
    const TargetInputs& in = inputs.at(member.request);
    // The timer's overflow rate the member wants, at SMOD = 0 and 1: any
    // setting within the tolerance lies in [x / (1 + t), x / (1 - t)].
    const double base = static_cast<double>(in.baud) * member.target->divider / member.target->clocksPerCycle;
    const double t = tolerancePercent / 100.0;
    const double memberLow = base / (member.target->smodDoubles ? 2.0 : 1.0) * (1.0 - t) * (1.0 - 1e-9);
    const double memberHigh = base * (1.0 + t) * (1.0 + 1e-9);
    low = std::max(low, memberLow);
    high = std::min(high, memberHigh);
  }
  return low <= high;
}

GroupSettings SolveGroup(const std::vector<GroupMember>& members, const std::vector<TargetInputs>& inputs,
                         double tolerancePercent) {
  GroupSettings best;
  bool found = false;
  const BaudTarget& first = *members.front().target;
  const std::uint64_t limit = std::uint64_t{1} << first.reloadBits;
  for (const ClockChoice& clock : first.clocks) {
    const auto clockIndices = CommonClock(members, clock.clocksPerCycle);
    if (!clockIndices) {
      continue;
    }
    for (const std::uint64_t divisor : CandidateDivisors(members, inputs, *clockIndices, limit)) {
      GroupSettings trial;
      for (std::size_t index = 0; index < members.size(); ++index) {
        const TargetInputs& in = inputs.at(members[index].request);
        trial.settings.push_back(MemberSetting(members[index], in, (*clockIndices)[index], divisor));
        const RelativeError error = ErrorOf(trial.settings.back(), in.frequency, in.baud);
        if (index == 0 || IsLess(trial.worst, error)) {
          trial.worst = error;
        }
      }
      // Earlier clocks and smaller divisors (larger reloads) win ties.
      if (!found || IsLess(trial.worst, best.worst)) {
        best = std::move(trial);
        found = true;
      }
    }
  }
  if (!found) {
    return best;
  }
  best.acceptable = true;
  for (std::size_t index = 0; index < members.size(); ++index) {
    best.acceptable = best.acceptable && WithinTolerance(best.settings[index], tolerancePercent);
  }
  return best;
}

// The errors of an assignment, largest first: one assignment beats another
// when its largest error is smaller, or equal and its next one smaller ...
bool LeximaxLess(std::vector<RelativeError> a, std::vector<RelativeError> b) {
  const auto descending = [](const RelativeError& x, const RelativeError& y) { return IsLess(y, x); };
  std::sort(a.begin(), a.end(), descending);
  std::sort(b.begin(), b.end(), descending);
  for (std::size_t index = 0; index < a.size() && index < b.size(); ++index) {
    if (IsLess(a[index], b[index])) {
      return true;
    }
    if (IsLess(b[index], a[index])) {
      return false;
    }
  }
  return false;
}

// The search over every assignment of generators to requests.
class PlanSearch {
 public:
  PlanSearch(std::span<const BaudTarget* const> chipTargets, const TargetInputs& crystal,
             std::span<const UartRequest> requests, double tolerancePercent)
      : m_requests(requests), m_tolerance(tolerancePercent) {
    for (const UartRequest& request : requests) {
      m_inputs.push_back(InputsFor(crystal, request));
      const std::vector<const BaudTarget*> ofUart = TargetsOfUart(chipTargets, request.uart);
      m_candidates.push_back(SolveAlone(ofUart, m_inputs.back(), tolerancePercent));
    }
  }

  PlanResult Run() {
    for (std::size_t index = 0; index < m_candidates.size(); ++index) {
      if (m_candidates[index].targets.empty()) {
        return Conflict(PlanConflictKind::NoGenerator, {index});
      }
    }
    std::vector<std::size_t> unreachable;
    for (std::size_t index = 0; index < m_candidates.size(); ++index) {
      const auto& accepted = m_candidates[index].acceptable;
      if (std::none_of(accepted.begin(), accepted.end(), [](bool ok) { return ok; })) {
        unreachable.push_back(index);
      }
    }
    if (!unreachable.empty()) {
      return Conflict(PlanConflictKind::OutOfReach, unreachable);
    }
    std::vector<std::size_t> choice(m_requests.size(), 0);
    do {
      TryAssignment(choice);
    } while (Advance(choice));
    if (!m_best) {
      return SharedTimerConflict();
    }
    return {MakePlan(), std::nullopt};
  }

 private:
  struct Assignment {
    std::vector<std::size_t> choice;
    std::vector<TargetSetting> settings;
    std::vector<RelativeError> errors;
    std::vector<std::vector<std::size_t>> groups;  // per request: the requests on its timer
  };

  // The next assignment in order, the last request's generator turning fastest.
  bool Advance(std::vector<std::size_t>& choice) const {
    for (std::size_t index = choice.size(); index-- > 0;) {
      if (++choice[index] < m_candidates[index].targets.size()) {
        return true;
      }
      choice[index] = 0;
    }
    return false;
  }

  [[nodiscard]] const BaudTarget* TargetOf(std::size_t request, const std::vector<std::size_t>& choice) const {
    return m_candidates[request].targets[choice[request]];
  }

  // Requests grouped by the timer their chosen generators take.
  [[nodiscard]] std::vector<std::vector<std::size_t>> Groups(const std::vector<std::size_t>& choice) const {
    std::vector<std::vector<std::size_t>> groups;
    std::vector<std::string> timers;
    for (std::size_t request = 0; request < choice.size(); ++request) {
      const std::string& timer = TargetOf(request, choice)->timer;
      const auto found = std::find(timers.begin(), timers.end(), timer);
      if (found == timers.end()) {
        timers.push_back(timer);
        groups.push_back({request});
      } else {
        groups[static_cast<std::size_t>(found - timers.begin())].push_back(request);
      }
    }
    return groups;
  }

  const GroupSettings& Shared(const std::vector<std::size_t>& group, const std::vector<std::size_t>& choice) {
    std::vector<std::pair<std::size_t, std::size_t>> key;
    std::vector<GroupMember> members;
    for (const std::size_t request : group) {
      key.emplace_back(request, choice[request]);
      members.push_back({request, TargetOf(request, choice)});
    }
    const auto known = m_shared.find(key);
    if (known != m_shared.end()) {
      return known->second;
    }
    GroupSettings settings;
    if (MightShare(members, m_inputs, m_tolerance)) {
      settings = SolveGroup(members, m_inputs, m_tolerance);
    }
    return m_shared.emplace(std::move(key), std::move(settings)).first->second;
  }

  void TryAssignment(const std::vector<std::size_t>& choice) {
    // Every request must be within the tolerance on its generator alone.
    for (std::size_t request = 0; request < choice.size(); ++request) {
      if (!m_candidates[request].acceptable[choice[request]]) {
        return;
      }
    }
    Assignment assignment{choice, std::vector<TargetSetting>(choice.size()), std::vector<RelativeError>(choice.size()),
                          std::vector<std::vector<std::size_t>>(choice.size())};
    bool acceptable = true;
    for (const std::vector<std::size_t>& group : Groups(choice)) {
      for (const std::size_t request : group) {
        assignment.groups[request] = group;
      }
      if (group.size() == 1) {
        const std::size_t request = group.front();
        assignment.settings[request] = m_candidates[request].alone[choice[request]].best;
        assignment.errors[request] = m_candidates[request].errors[choice[request]];
        continue;
      }
      const GroupSettings& shared = Shared(group, choice);
      if (!shared.acceptable) {
        acceptable = false;
        NoteFailedGroup(group, choice);
        continue;
      }
      for (std::size_t index = 0; index < group.size(); ++index) {
        const std::size_t request = group[index];
        assignment.settings[request] = shared.settings[index];
        assignment.errors[request] =
            ErrorOf(shared.settings[index], m_inputs[request].frequency, m_inputs[request].baud);
      }
    }
    if (acceptable && (!m_best || LeximaxLess(assignment.errors, m_best->errors))) {
      m_best = std::move(assignment);
    }
  }

  void NoteFailedGroup(const std::vector<std::size_t>& group, const std::vector<std::size_t>& choice) {
    const std::string& timer = TargetOf(group.front(), choice)->timer;
    ++m_failedGroups[{timer, group}];
  }

  [[nodiscard]] static PlanResult Conflict(PlanConflictKind kind, std::vector<std::size_t> requests,
                                           std::string timer = {}) {
    return {std::nullopt, PlanConflict{kind, std::move(requests), std::move(timer)}};
  }

  // The timer and UARTs that fail most often over the assignments.
  [[nodiscard]] PlanResult SharedTimerConflict() const {
    const auto most = std::max_element(m_failedGroups.begin(), m_failedGroups.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most == m_failedGroups.end()) {
      return Conflict(PlanConflictKind::SharedTimer, {});
    }
    return Conflict(PlanConflictKind::SharedTimer, most->first.second, most->first.first);
  }

  [[nodiscard]] UartPlan MakePlan() const {
    UartPlan plan;
    const Assignment& best = *m_best;
    for (std::size_t request = 0; request < m_requests.size(); ++request) {
      const RequestCandidates& candidates = m_candidates[request];
      PlannedUart planned;
      planned.request = m_requests[request];
      planned.target = TargetOf(request, best.choice);
      planned.setting = best.settings[request];
      planned.generatorCount = candidates.targets.size();
      planned.bestAlone = candidates.targets.at(*candidates.bestAlone);
      for (const std::size_t other : best.groups[request]) {
        if (other != request) {
          planned.sharedWith.push_back(other);
        }
      }
      planned.reason = Reason(request, planned);
      if (planned.reason == PlanReason::TimerTaken) {
        planned.takenBy = Holder(request, planned.bestAlone->timer);
      }
      plan.uarts.push_back(std::move(planned));
      if (request > 0 && IsLess(best.errors[plan.worst], best.errors[request])) {
        plan.worst = request;
      }
    }
    return plan;
  }

  [[nodiscard]] PlanReason Reason(std::size_t request, const PlannedUart& planned) const {
    if (planned.generatorCount == 1) {
      return PlanReason::OnlyGenerator;
    }
    if (!planned.sharedWith.empty()) {
      return PlanReason::SharedTimer;
    }
    // Another generator than its own first choice: that choice's timer went
    // to another UART (an equal error elsewhere would have kept it).
    const bool moved = planned.target != planned.bestAlone && Holder(request, planned.bestAlone->timer).has_value();
    return moved ? PlanReason::TimerTaken : PlanReason::BestAlone;
  }

  // Another request whose generator takes the timer.
  [[nodiscard]] std::optional<std::size_t> Holder(std::size_t request, const std::string& timer) const {
    for (std::size_t other = 0; other < m_requests.size(); ++other) {
      if (other != request && TargetOf(other, m_best->choice)->timer == timer) {
        return other;
      }
    }
    return std::nullopt;
  }

  std::span<const UartRequest> m_requests;
  double m_tolerance;
  std::vector<TargetInputs> m_inputs;
  std::vector<RequestCandidates> m_candidates;
  std::map<std::vector<std::pair<std::size_t, std::size_t>>, GroupSettings> m_shared;
  std::map<std::pair<std::string, std::vector<std::size_t>>, int> m_failedGroups;
  std::optional<Assignment> m_best;
};

}  // namespace

PlanResult PlanUarts(std::span<const BaudTarget* const> chipTargets, const TargetInputs& inputs,
                     std::span<const UartRequest> requests, double tolerancePercent) {
  if (requests.empty()) {
    return {std::nullopt, PlanConflict{PlanConflictKind::NoGenerator, {}, {}}};
  }
  return PlanSearch(chipTargets, inputs, requests, tolerancePercent).Run();
}

std::string_view PlanReasonName(PlanReason reason) noexcept {
  switch (reason) {
    case PlanReason::OnlyGenerator:
      return "OnlyGenerator";
    case PlanReason::SharedTimer:
      return "SharedTimer";
    case PlanReason::TimerTaken:
      return "TimerTaken";
    case PlanReason::BestAlone:
      break;
  }
  return "BestAlone";
}

std::string_view PlanConflictKindName(PlanConflictKind kind) noexcept {
  switch (kind) {
    case PlanConflictKind::NoGenerator:
      return "NoGenerator";
    case PlanConflictKind::SharedTimer:
      return "SharedTimer";
    case PlanConflictKind::OutOfReach:
      break;
  }
  return "OutOfReach";
}

}  // namespace tesmirol
