#include "e2e/utf8_text.h"

#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

namespace tesmirol::e2e {

std::string Utf8(std::wstring_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
    return {};
  }
  const int inLength = static_cast<int>(text.size());
  const int outLength = WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (outLength <= 0) {
    return {};
  }
  std::string utf8(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, utf8.data(), outLength, nullptr, nullptr);
  return utf8;
}

}  // namespace tesmirol::e2e
