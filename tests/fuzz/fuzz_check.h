#pragma once
// What the fuzz targets share: the check that stops a run when an invariant
// breaks, and the split of one input into the crystal and baud texts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace tesmirol::fuzz {

// Stops the run with the broken invariant's description; libFuzzer then
// saves the input that broke it as a crash file.
inline void Require(bool holds, const char* invariant) {
  if (!holds) {
    std::cerr << "invariant broken: " << invariant << '\n';
    std::abort();
  }
}

// The libFuzzer input as a byte string.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) noexcept {
  return {reinterpret_cast<const char*>(data), size};  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// The two texts of the dialog's input boxes.
struct TextPair {
  std::string_view crystal;
  std::string_view baud;
};

// Splits the input at its first NUL byte: the crystal text before it, the
// baud text after it. No text a user types into a box or passes as an
// argument can hold a NUL, so this one byte can separate the two while every
// other byte reaches both. An input without a NUL is cut in the middle.
inline TextPair SplitInTwo(std::string_view input) noexcept {
  const std::size_t nul = input.find('\0');
  if (nul == std::string_view::npos) {
    const std::size_t half = input.size() / 2;
    return {input.substr(0, half), input.substr(half)};
  }
  return {input.substr(0, nul), input.substr(nul + 1)};
}

}  // namespace tesmirol::fuzz
