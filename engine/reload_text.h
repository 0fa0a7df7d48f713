#pragma once
// The Timer-1 reload value as the program writes it, in the labels and in the
// generated code.

#include <cstdint>
#include <string>

namespace tesmirol {

// "0x" and upper-case hexadecimal without leading zeros (253 gives "0xFD",
// 5 gives "0x5"); a reload below zero, from a rate too low for the crystal,
// is written as its 32-bit two's complement (-28 gives "0xFFFFFFE4").
std::string FormatReload(std::int32_t reload);

}  // namespace tesmirol
