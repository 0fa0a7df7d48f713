#include "e2e/scratch_directory.h"

#include <windows.h>

#include <string>
#include <utility>

namespace tesmirol::e2e {

std::optional<ScratchDirectory> ScratchDirectory::CreateIn(const std::wstring& parent) {
  static unsigned int made = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring path =
        parent + L"tesmirol-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made) + L"\\";
    if (CreateDirectoryW(path.c_str(), nullptr) != FALSE) {
      return ScratchDirectory(std::move(path));
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<ScratchDirectory> ScratchDirectory::Create() {
  std::wstring temp(MAX_PATH + 1, L'\0');
  const DWORD length = GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
  if (length == 0 || length >= temp.size()) {
    return std::nullopt;
  }
  temp.resize(length);
  return CreateIn(temp);
}

ScratchDirectory::ScratchDirectory(ScratchDirectory&& other) noexcept : m_path(std::exchange(other.m_path, {})) {}

ScratchDirectory::~ScratchDirectory() {
  if (m_path.empty()) {
    return;
  }
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((m_path + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name(static_cast<const wchar_t*>(found.cFileName));
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        const std::wstring file = m_path + name;
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
      }
    } while (FindNextFileW(search, &found) != FALSE);
    FindClose(search);
  }
  RemoveDirectoryW(m_path.c_str());
}

}  // namespace tesmirol::e2e
