#include "framework/module_path.h"

#include <windows.h>

#include <cstddef>

namespace tesmirol {
namespace {

// Where the file name of a path begins: after the last '\\', '/' or drive colon.
std::size_t FileNameStart(std::wstring_view path) noexcept {
  const std::size_t separator = path.find_last_of(L"\\/:");
  return separator == std::wstring_view::npos ? 0 : separator + 1;
}

// Where the extension of the path's file name begins (its dot), or npos.
std::size_t ExtensionStart(std::wstring_view path) noexcept {
  const std::size_t nameStart = FileNameStart(path);
  const std::size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring_view::npos || dot <= nameStart) {
    return std::wstring_view::npos;
  }
  return dot;
}

}  // namespace

// Cuts the directory and the extension off the path.
std::wstring_view FileBaseName(std::wstring_view path) noexcept {
  const std::size_t extension = ExtensionStart(path);
  if (extension != std::wstring_view::npos) {
    path = path.substr(0, extension);
  }
  return path.substr(FileNameStart(path));
}

// Everything before the file name.
std::wstring_view FileDirectory(std::wstring_view path) noexcept { return path.substr(0, FileNameStart(path)); }

// Swaps the file's extension for another one.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view extension) {
  std::wstring result(path.substr(0, ExtensionStart(path)));
  result.append(extension);
  return result;
}

// Asks the system for the executable's path, growing the buffer for paths
// longer than MAX_PATH.
std::optional<std::wstring> ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return std::nullopt;
    }
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) {
      return std::nullopt;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace tesmirol
