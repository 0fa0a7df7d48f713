#pragma once
// The classic calculation (the dialog's) answered once for the command line
// and the page: the engine's calculation, the link of the setting its code
// uses when a link is asked about, and the generated code (or warning) with
// the link's note line.

#include <optional>
#include <string_view>

#include "answers/link_answer.h"
#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "engine/language.h"

namespace tesmirol::answers {

struct ClassicAnswer {
  std::optional<BaudCalculation> calculation;  // none: the texts give no result
  std::optional<LinkAnswer> link;              // when a link is asked about and there is a calculation
  GeneratedInitCode code;                      // in the language asked for
};

// Runs the engine and the generator for the texts (GBK); link, when not
// null, is the link to check.
ClassicAnswer AnswerClassic(std::string_view crystalGbk, std::string_view baudGbk, const LinkAsk* link,
                            Language language);

}  // namespace tesmirol::answers
