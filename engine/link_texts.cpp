#include "engine/link_texts.h"

#include "engine/deviation_text.h"
#include "engine/texts.h"

namespace tesmirol {

std::string LinkVerdictText(LinkVerdict verdict, Language language) {
  switch (verdict) {
    case LinkVerdict::Marginal:
      return std::string(Text(language, TextKey::LinkVerdictMarginal));
    case LinkVerdict::Fails:
      return std::string(Text(language, TextKey::LinkVerdictFails));
    case LinkVerdict::Works:
      break;
  }
  return std::string(Text(language, TextKey::LinkVerdictWorks));
}

std::string LinkCodeNoteText(std::string_view peerName, std::int32_t baud, const LinkCheck* check, Language language) {
  const std::string peer(peerName);
  const std::string rate = std::to_string(baud);
  if (check == nullptr) {
    return FormatText(language, TextKey::LinkCodeNoteCannot,
                      {{"peer", peer}, {"baud", rate}, {"verdict", LinkVerdictText(LinkVerdict::Fails, language)}});
  }
  const MismatchSense& sense = BindingSense(WorseDirection(*check));
  return FormatText(language, TextKey::LinkCodeNote,
                    {{"peer", peer},
                     {"baud", rate},
                     {"worst", FormatDeviation(sense.worstPercent)},
                     {"limit", FormatDeviation(sense.limitPercent)},
                     {"verdict", LinkVerdictText(check->verdict, language)}});
}

}  // namespace tesmirol
