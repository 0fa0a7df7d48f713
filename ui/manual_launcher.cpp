#include "ui/manual_launcher.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/file.h"
#include "framework/file_error.h"
#include "framework/module_path.h"
#include "framework/module_resource.h"

namespace tesmirol {
namespace {

// ShellExecute reports success as a pseudo-handle whose value is above 32;
// 32 and below are error codes.
constexpr std::intptr_t kLastShellError = 32;

// The shell's result code, which it returns disguised as a module handle.
std::intptr_t ShellResultCode(HINSTANCE result) noexcept {
  return reinterpret_cast<std::intptr_t>(result);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// The signature of the shell's ShellExecuteW.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

// The shell's ShellExecuteW, loaded from the system directory on first use,
// or null when it cannot be. Only the manual button needs the shell, and
// loading it with the program (it brings a dozen libraries of its own)
// would take a good part of the time the dialog takes to appear.
ShellExecuteFunction ShellExecuteOnDemand() noexcept {
  static const ShellExecuteFunction function = []() -> ShellExecuteFunction {
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (shell == nullptr) {
      return nullptr;
    }
    // GetProcAddress gives every function as one typeless pointer; going
    // through void (*)() states that the type is known to be right.
    // NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast)
    const auto untyped = reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteW"));
    return reinterpret_cast<ShellExecuteFunction>(untyped);
    // NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast)
  }();
  return function;
}

// An empty text means "none" to the shell.
const wchar_t* OrNull(const std::wstring& text) noexcept { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

// The executable's full path, cut after its last separator.
std::optional<std::wstring> GetModuleDirectory() {
  const std::optional<std::wstring> path = ExecutablePath();
  if (!path || path->empty()) {
    return std::nullopt;
  }
  return std::wstring(FileDirectory(*path));
}

// A null verb is the document type's default action.
bool OpenWithShell(const std::wstring& file, int showCommand, const std::wstring& parameters,
                   const std::wstring& directory) noexcept {
  const ShellExecuteFunction shellExecute = ShellExecuteOnDemand();
  if (shellExecute == nullptr) {
    return false;
  }
  return ShellResultCode(shellExecute(nullptr, nullptr, file.c_str(), OrNull(parameters), OrNull(directory),
                                      showCommand)) > kLastShellError;
}

// A manual cut short by a full disk would open as if it were whole, and the
// next click would find it and never write it again; so a failed write
// removes what was written.
bool ExtractResourceToFile(const std::wstring& path, const wchar_t* type, const wchar_t* name) {
  const std::span<const std::byte> bytes = ResourceBytes(type, name);
  if (bytes.empty()) {
    return false;
  }
  CFile file;
  if (!file.OpenForWriting(path)) {
    return false;
  }
  const std::optional<FileErrorCause> failure = file.Write(bytes);
  file.Close();
  if (failure) {
    ReportFileError(*failure, file.GetFilePath());
    CFile::Remove(file.GetFilePath());
    return false;
  }
  return true;
}

}  // namespace tesmirol
