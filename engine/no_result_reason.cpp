#include "engine/no_result_reason.h"

#include "engine/number_reading.h"

namespace tesmirol {
namespace {

// The text in double quotes, for a message.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace

std::string NoResultReason(std::string_view crystalGbk, std::string_view baudGbk, std::string_view crystalUtf8,
                           std::string_view baudUtf8) {
  if (crystalGbk.empty()) {
    return "the crystal text is empty";
  }
  if (baudGbk.empty()) {
    return "the baud text is empty";
  }
  if (!ReadLeadingFloat(crystalGbk)) {
    return "the crystal text " + Quoted(crystalUtf8) + " does not start with a number";
  }
  if (ReadLeadingInt(baudGbk) == 0) {
    return "the baud text " + Quoted(baudUtf8) + " reads as a rate of 0";
  }
  return "crystal " + Quoted(crystalUtf8) + " with baud " + Quoted(baudUtf8) +
         " is outside what the calculation handles (a crystal of 0 Hz or of 2147483648 Hz "
         "and more, or a crystal and a rate of opposite signs close to 0)";
}

std::string ReloadNoResultReason(std::string_view crystalGbk, std::string_view crystalUtf8) {
  if (crystalGbk.empty()) {
    return "the crystal text is empty";
  }
  if (!ReadLeadingFloat(crystalGbk)) {
    return "the crystal text " + Quoted(crystalUtf8) + " does not start with a number";
  }
  return "the crystal " + Quoted(crystalUtf8) + " is 2147483648 Hz or more, beyond what the calculation handles";
}

}  // namespace tesmirol
