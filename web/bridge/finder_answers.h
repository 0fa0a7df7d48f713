#pragma once
// The page's two finders, answered by answers/ as tesmirol-cli answers
// them: the rates finder (--rates: the crystal presets that give every rate
// of a list) and the clock finder (--find-clock: the clocks that give every
// rate, or every UART of a plan).

#include <string>
#include <string_view>
#include <vector>

#include "web/bridge/link_answers.h"
#include "web/bridge/plan_answers.h"

namespace tesmirol::web {

// The rates finder's texts: the rates ("9600,115200"), the tolerance ("" for
// 1 %), the target or family ("classic" or "" for the dialog's calculation)
// and its UART ("" for the family's first).
struct RatesFinderTexts {
  std::u16string_view rates;
  std::u16string_view maxError;
  std::u16string_view target;
  std::u16string_view uart;
};

// {"problem": null, "tolerance", "crystals": [one object per crystal as
// tesmirol-cli --rates --json writes it, the page's face]}, ranked by the
// link when rankByLink and a link that reads is asked about; or the problem
// "badRates", "badMaxError", "unknownTarget" or "unknownUart".
std::string RatesFinderJson(const RatesFinderTexts& texts, const LinkTexts& link, bool rankByLink);

// The clock finder's texts: the target or family and its UART ("" for the
// family's first), the rates (empty: the plan's requests), the range (""
// for the chip's clock steps), the tolerance ("" for 1 %) and the limit (""
// for 20).
struct ClockFinderTexts {
  std::u16string_view target;
  std::u16string_view uart;
  std::u16string_view rates;
  std::u16string_view range;
  std::u16string_view maxError;
  std::u16string_view limit;
  std::vector<PlanRequestTexts> requests;  // each UART and its rate; peer unused
};

// {"problem": null, then the members of tesmirol-cli --find-clock --json
// (the page's face)}, or {"problem": "unknownTarget", "notCovered",
// "unknownUart", "badRates", "badRange" (with "rangeProblem": "NotRange",
// "NotWholeHertz" or "Empty"), "badMaxError", "badLimit", "needsRates",
// "needsRange" or "tooWide"}.
std::string ClockFinderJson(const ClockFinderTexts& texts);

}  // namespace tesmirol::web
