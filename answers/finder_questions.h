#pragma once
// The two finders as the page asks them, from the texts the user typed
// (GBK): the rates finder (the crystal presets that give every rate of a
// list, as --rates) and the clock finder (the clocks that give every rate,
// or every UART of a plan, as --find-clock), each written as the page's
// JSON, or the problem with the texts.

#include <vector>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/plan_question.h"

namespace tesmirol::answers {

// The rates finder's texts: the rates ("9600,115200"), the tolerance ("" for
// 1 %), the target or family ("classic" or "" for the dialog's calculation)
// and its UART ("" for the family's first).
struct RatesFinderTexts {
  GbkText rates;
  GbkText maxError;
  GbkText target;
  GbkText uart;
};

// {"problem": null, "tolerance", "crystals": [one object per crystal as
// tesmirol-cli --rates --json writes it]}, ranked by the link when
// rankByLink and a link that reads is asked about; or {"problem"}:
// "badRates", "badMaxError", "unknownTarget" or "unknownUart".
void WriteRatesFinderQuestion(JsonWriter& json, const RatesFinderTexts& texts, const LinkTexts& link,
                              const bool& rankByLink);

// The clock finder's texts: the target or family and its UART ("" for the
// family's first), the rates (empty: the plan's requests), the range (""
// for the chip's clock steps), the tolerance ("" for 1 %) and the limit (""
// for 20), and each planned UART with its rate.
struct ClockFinderTexts {
  GbkText target;
  GbkText uart;
  GbkText rates;
  GbkText range;
  GbkText maxError;
  GbkText limit;
  std::vector<PlanRequestTexts> requests;  // each UART and its rate; peer unused
};

// {"problem": null, then the members of tesmirol-cli --find-clock --json},
// or {"problem": "unknownTarget", "notCovered", "unknownUart", "badRates",
// "badRange" (with "rangeProblem": "NotRange", "NotWholeHertz" or "Empty"),
// "badMaxError", "badLimit", "needsRates", "needsRange" or "tooWide"}.
void WriteClockFinderQuestion(JsonWriter& json, const ClockFinderTexts& texts);

}  // namespace tesmirol::answers
