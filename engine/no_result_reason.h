#pragma once
// Why a calculation gave no result, in words for the plain report.

#include <string>
#include <string_view>

#include "engine/language.h"

namespace tesmirol {

// Names the input that could not be used: an empty text, a crystal text that
// does not start with a number, a baud text that reads as 0, or otherwise a
// crystal frequency the calculation cannot handle. The texts are GBK, as the
// engine was given them, and so is the message, in the language, that quotes
// them.
std::string NoResultReason(std::string_view crystalGbk, std::string_view baudGbk, Language language);

// The same for the rates of a reload value, which need the crystal only: an
// empty text, a text that does not start with a number, or a crystal too
// large for the calculation.
std::string ReloadNoResultReason(std::string_view crystalGbk, Language language);

}  // namespace tesmirol
