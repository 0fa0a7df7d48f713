#pragma once
// The classic calculation (the dialog's) as the page asks it: the crystal
// and rate texts with the link the page's link texts ask about, answered by
// AnswerClassic, and the crystal finder of the classic calculation (every
// crystal preset against one rate, ranked by link when asked); each written
// as the page's JSON.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "answers/classic_answer.h"
#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "engine/language.h"

namespace tesmirol::answers {

struct ClassicQuestionAnswer {
  // "frameNoTarget" (a frame for the code alone: the classic SIO_Init is 8N1
  // only), "crystalNotGbk", "baudNotGbk" or "noResult"; empty with a calculation
  std::string_view problem;
  LinkQuestion link;
  ClassicAnswer answer;
};

ClassicQuestionAnswer AnswerClassicQuestion(const GbkText& crystal, const GbkText& baud, const LinkTexts& link,
                                            Language language);

// {"status":"ok","calculation":{the calculation's members, "link"}}, or
// {"status": the problem}.
void WriteClassicQuestion(JsonWriter& json, const ClassicQuestionAnswer& answer);

// The classic crystal finder for one rate.
struct ClassicFinder {
  LinkQuestion link;
  std::vector<std::string_view> crystals;  // the presets, ASCII
  std::vector<std::optional<BaudCalculation>> calculations;
  std::vector<QuestionLink> links;
  std::vector<std::size_t> order;  // the rows as shown
};

// No rows when the rate is not GBK.
ClassicFinder AnswerClassicFinder(const GbkText& baud, const LinkTexts& link, bool rankByLink);

// The rows as shown: [{"crystal", "crystalHz" (null without a result),
// "modes", the code's choice, "link"}].
void WriteClassicFinder(JsonWriter& json, const ClassicFinder& finder);

}  // namespace tesmirol::answers
