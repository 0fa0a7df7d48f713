#pragma once
// Reading numbers at the start of the user's texts, the way the C library's
// atoi and sscanf("%f") read them, but independent of the C locale and free
// of undefined behaviour.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tesmirol {

// atoi: leading white space (space, \t, \n, \v, \f, \r), an optional sign, then
// decimal digits up to the first non-digit; 0 without digits. The digits
// accumulate modulo 2^32, so 4294967296 reads as 0 and 2147483648 as
// -2147483648.
std::int32_t ReadLeadingInt(std::string_view text) noexcept;

// sscanf("%f"): leading white space, an optional sign, digits with at most one
// decimal point and, after at least one digit, an optional exponent (E or e,
// optional sign, digits). The value is the float32 nearest to the decimal
// number; too large gives infinity, too small zero (signs kept). No result
// without a digit. No infinity or not-a-number words, no hexadecimal.
std::optional<float> ReadLeadingFloat(std::string_view text) noexcept;

}  // namespace tesmirol
