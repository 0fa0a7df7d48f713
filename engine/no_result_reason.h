#pragma once
// Why a calculation gave no result, in words for the plain report.

#include <string>
#include <string_view>

namespace tesmirol {

// Names the input that could not be used: an empty text, a crystal text that
// does not start with a number, a baud text that reads as 0, or otherwise a
// crystal frequency the calculation cannot handle. The GBK texts are what the
// engine was given; the UTF-8 ones are quoted in the message.
std::string NoResultReason(std::string_view crystalGbk, std::string_view baudGbk, std::string_view crystalUtf8,
                           std::string_view baudUtf8);

// The same for the rates of a reload value, which need the crystal only: an
// empty text, a text that does not start with a number, or a crystal too
// large for the calculation.
std::string ReloadNoResultReason(std::string_view crystalGbk, std::string_view crystalUtf8);

}  // namespace tesmirol
