#include "engine/reload_text.h"

#include <string_view>

namespace tesmirol {

std::string FormatReload(std::int32_t reload) {
  constexpr std::string_view kHexDigits = "0123456789ABCDEF";
  auto value = static_cast<std::uint32_t>(reload);
  std::string digits;
  do {
    digits.insert(digits.begin(), kHexDigits[value & 0xFU]);
    value >>= 4U;
  } while (value != 0);
  return "0x" + digits;
}

}  // namespace tesmirol
