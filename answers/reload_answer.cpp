#include "answers/reload_answer.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "engine/number_reading.h"
#include "text/gbk_text.h"

namespace tesmirol::answers {

std::optional<std::uint32_t> ReadReloadText(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > kMostReload) {
    return std::nullopt;
  }
  return value;
}

bool ReloadAnswer::HasResult() const noexcept { return onTargets ? frequency.has_value() : classic.has_value(); }

ReloadAnswer AnswerReload(std::string_view crystalGbk, std::uint32_t reload, std::span<const BaudTarget* const> targets,
                          std::string_view baudGbk) {
  ReloadAnswer answer;
  answer.reload = reload;
  answer.baud = std::max(ReadLeadingInt(baudGbk), 0);
  answer.crystalText = crystalGbk;
  text::UpperCaseInPlace(answer.crystalText);
  answer.onTargets = !targets.empty();
  if (!answer.onTargets) {
    if (reload <= kClassicMostReload) {
      answer.classic = CalculateReloadRates(crystalGbk, static_cast<std::int32_t>(reload));
    }
    if (answer.classic && answer.baud > 0) {
      for (const std::int32_t achieved : answer.classic->achieved) {
        answer.classicModes.push_back(CompareRate(achieved, answer.baud));
      }
    }
    return answer;
  }
  answer.frequency = ReadExactCrystal(crystalGbk);
  if (!answer.frequency) {
    return answer;
  }
  for (const BaudTarget* target : targets) {
    answer.targets.push_back({target, TargetRatesForReload(*target, *answer.frequency, reload, answer.baud)});
  }
  return answer;
}

}  // namespace tesmirol::answers
