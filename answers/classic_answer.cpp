#include "answers/classic_answer.h"

#include <string>
#include <vector>

namespace tesmirol::answers {

ClassicAnswer AnswerClassic(std::string_view crystalGbk, std::string_view baudGbk, const LinkAsk* link,
                            Language language) {
  ClassicAnswer answer;
  answer.calculation = CalculateBaud(crystalGbk, baudGbk);
  if (!answer.calculation) {
    return answer;
  }
  std::vector<std::string> notes;
  if (link != nullptr) {
    answer.link = CheckLinkAt(*link, ClassicOwnRate(*answer.calculation), answer.calculation->baud);
    notes = LinkCodeNotes(link->peer, *answer.link, language);
  }
  answer.code = GenerateInitCode(*answer.calculation, language, notes);
  return answer;
}

}  // namespace tesmirol::answers
