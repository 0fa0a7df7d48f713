#include "engine/no_result_reason.h"

#include "engine/number_reading.h"
#include "engine/texts.h"

namespace tesmirol {

std::string NoResultReason(std::string_view crystalGbk, std::string_view baudGbk, Language language) {
  if (crystalGbk.empty()) {
    return std::string(Text(language, TextKey::ReasonCrystalEmpty));
  }
  if (baudGbk.empty()) {
    return std::string(Text(language, TextKey::ReasonBaudEmpty));
  }
  if (!ReadLeadingFloat(crystalGbk)) {
    return FormatText(language, TextKey::ReasonCrystalNotNumber, {{"crystal", std::string(crystalGbk)}});
  }
  if (ReadLeadingInt(baudGbk) == 0) {
    return FormatText(language, TextKey::ReasonBaudZero, {{"baud", std::string(baudGbk)}});
  }
  return FormatText(language, TextKey::ReasonOutsideCalculation,
                    {{"crystal", std::string(crystalGbk)}, {"baud", std::string(baudGbk)}});
}

std::string ReloadNoResultReason(std::string_view crystalGbk, Language language) {
  if (crystalGbk.empty()) {
    return std::string(Text(language, TextKey::ReasonCrystalEmpty));
  }
  if (!ReadLeadingFloat(crystalGbk)) {
    return FormatText(language, TextKey::ReasonCrystalNotNumber, {{"crystal", std::string(crystalGbk)}});
  }
  return FormatText(language, TextKey::ReasonReloadCrystalTooLarge, {{"crystal", std::string(crystalGbk)}});
}

}  // namespace tesmirol
