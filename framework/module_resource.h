#pragma once
// Resources of the running executable.

#include <windows.h>

#include <cstddef>
#include <span>

namespace tesmirol {

// The bytes of a resource of the running executable, or an empty span when it
// is missing or cannot be loaded. The memory belongs to the module and is
// never freed.
std::span<const std::byte> ResourceBytes(const wchar_t* type, const wchar_t* name) noexcept;

}  // namespace tesmirol
