#include "e2e/program_path.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

// Wine's own export that maps a Linux path to the drive path it serves it
// under; the result lives on the process heap.
using DosFileNameFunction = wchar_t*(CDECL*)(const char* unixPath);

// Frees what Wine allocated for the caller on the process heap.
struct ProcessHeapFree {
  void operator()(wchar_t* memory) const noexcept { HeapFree(GetProcessHeap(), 0, memory); }
};

}  // namespace

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length <= 1) {
    return std::nullopt;
  }
  std::wstring value(length, L'\0');
  const DWORD written = GetEnvironmentVariableW(name, value.data(), length);
  if (written == 0 || written >= length) {
    return std::nullopt;
  }
  value.resize(written);
  return value;
}

std::wstring WindowsPath(const std::wstring& path) {
  if (path.empty() || path.front() != L'/') {
    return path;
  }
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const FARPROC dosNameExport = kernel != nullptr ? GetProcAddress(kernel, "wine_get_dos_file_name") : nullptr;
  if (dosNameExport == nullptr) {
    return path;
  }
  // FARPROC is a generic function pointer; the cast through void (*)() is the
  // one a compiler accepts between unrelated function types.
  const auto toDosName = reinterpret_cast<DosFileNameFunction>(  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
      reinterpret_cast<void (*)()>(dosNameExport));              // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
  const std::unique_ptr<wchar_t, ProcessHeapFree> dosName(toDosName(Utf8(path).c_str()));
  return dosName ? std::wstring(dosName.get()) : path;
}

}  // namespace tesmirol::e2e
