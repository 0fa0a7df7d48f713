#include "answers/target_answer.h"

#include <algorithm>
#include <cmath>

#include "engine/target_texts.h"

namespace tesmirol::answers {

const TargetSolution* TargetAnswer::Best() const noexcept { return family.Chosen(); }

TargetCodeCheck NoTargetCodeReason(const FamilySolution& family) noexcept {
  if (family.Chosen() != nullptr) {
    return TargetCodeCheck::NoCode;
  }
  return family.solutions.front().status == TargetStatus::TooLow ? TargetCodeCheck::TooLow : TargetCodeCheck::TooHigh;
}

TargetCodeCheck CheckTargetCode(const FamilySolution& family, double limitPercent) {
  const TargetSolution* best = family.Chosen();
  if (best == nullptr || !IsWithinTolerance(best->best, std::max(limitPercent, kCodeTolerancePercent))) {
    return NoTargetCodeReason(family);
  }
  return std::fabs(best->best.deviation) > limitPercent ? TargetCodeCheck::BeyondLimit : TargetCodeCheck::Passes;
}

TargetAnswer AnswerTarget(const TargetInputs& inputs, std::span<const BaudTarget* const> targets, const LinkAsk* link,
                          const TargetCodeStyle& style) {
  TargetAnswer answer;
  answer.family = SolveTargets(targets, inputs);
  const TargetSolution* best = answer.Best();
  if (link != nullptr) {
    answer.link = CheckLinkAt(*link, SettingOwnRate(best != nullptr ? &best->best : nullptr), inputs.baud);
    answer.notes = LinkCodeNotes(link->peer, *answer.link, style.language);
  }
  answer.code = GenerateTargetCode(best, inputs, style.uartMode, style.language, answer.notes, style.frame,
                                   style.tolerancePercent);
  return answer;
}

std::optional<TargetCodeRequest> BestCodeRequest(const TargetAnswer& answer, const TargetInputs& inputs,
                                                 const TargetCodeStyle& style) {
  const TargetSolution* best = answer.Best();
  if (best == nullptr) {
    return std::nullopt;
  }
  return TargetCodeRequest{best->target,   best->best, inputs.crystalText, inputs.baudText,
                           style.uartMode, true,       answer.notes,       style.frame};
}

std::optional<std::string> AnswerAsm(const TargetAnswer& answer, const TargetInputs& inputs,
                                     const TargetCodeStyle& style, AsmSyntax syntax) {
  const std::optional<TargetCodeRequest> request = BestCodeRequest(answer, inputs, style);
  if (!request || answer.code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return GenerateAsmDriver(std::span<const TargetCodeRequest>(&*request, 1), syntax, style.language);
}

}  // namespace tesmirol::answers
