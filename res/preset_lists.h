#pragma once
// The preset lists of the crystal box and the baud box, in the order the
// lists show them, duplicates kept. The tables are generated at build time
// from res/presets.txt, the file the dialog's lists come from as well.

#include <span>
#include <string_view>

namespace tesmirol {

// The crystal frequencies offered to the user, e.g. "11.0592MHz" (ASCII).
std::span<const std::string_view> CrystalPresets() noexcept;

// The baud rates offered to the user, e.g. "9600" (ASCII).
std::span<const std::string_view> BaudPresets() noexcept;

}  // namespace tesmirol
