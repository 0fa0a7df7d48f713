#pragma once
// Checks on generated code texts that several test files share.

#include <cstddef>
#include <string_view>

namespace tesmirol::testing_support {

// True when the text still holds a placeholder such as <RELOAD>: '<',
// capitals, digits or '_', then '>'.
inline bool HoldsPlaceholder(std::string_view text) {
  const auto isNamePart = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'; };
  for (std::size_t open = text.find('<'); open != std::string_view::npos; open = text.find('<', open + 1)) {
    std::size_t end = open + 1;
    while (end < text.size() && isNamePart(text[end])) {
      ++end;
    }
    if (end > open + 1 && end < text.size() && text[end] == '>') {
      return true;
    }
  }
  return false;
}

}  // namespace tesmirol::testing_support
