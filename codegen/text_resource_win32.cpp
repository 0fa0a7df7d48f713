// Text resources read from the running executable's resource section.

#include <windows.h>

#include <optional>
#include <string>

#include "codegen/text_resource.h"
#include "text/encoding.h"

namespace tesmirol {

namespace {

// Converts a resource type or name to the wide string FindResourceW expects.
std::optional<std::wstring> ToResourceName(std::string_view gbk) {
  const std::optional<std::u16string> utf16 = text::GbkToUtf16(gbk);
  if (!utf16) {
    return std::nullopt;
  }
  return std::wstring(utf16->begin(), utf16->end());
}

}  // namespace

// Returns a copy of the named resource's bytes, all of them and nothing more
// (the resource holds no terminating zero), or an empty text when the
// resource cannot be found or loaded.
std::string LoadTextResource(std::string_view type, std::string_view name) {
  const std::optional<std::wstring> wideType = ToResourceName(type);
  const std::optional<std::wstring> wideName = ToResourceName(name);
  if (!wideType || !wideName || wideType->empty() || wideName->empty()) {
    return {};
  }
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, wideName->c_str(), wideType->c_str());
  if (info == nullptr) {
    return {};
  }
  const DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  if (loaded == nullptr) {
    return {};
  }
  // Resource memory belongs to the module and is never freed by the program.
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) {
    return {};
  }
  return {static_cast<const char*>(bytes), size};
}

}  // namespace tesmirol
