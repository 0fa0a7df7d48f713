#include "framework/module_resource.h"

namespace tesmirol {

std::span<const std::byte> ResourceBytes(const wchar_t* type, const wchar_t* name) noexcept {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, type);
  if (info == nullptr) {
    return {};
  }
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    return {};
  }
  return {static_cast<const std::byte*>(bytes), SizeofResource(module, info)};
}

}  // namespace tesmirol
