#include "framework/file.h"

#include <limits>

namespace tesmirol {
namespace {

// The full path that path names, resolved against the current directory, or
// path itself when the system cannot resolve it. GetFullPathNameW tells the
// length it needs when the buffer is too short.
std::wstring FullPathOf(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) {
      return path;
    }
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
  return path;
}

}  // namespace

CFile::~CFile() { Close(); }

// CREATE_ALWAYS creates the file or truncates it; share mode 0 keeps others
// out while it is being written.
bool CFile::OpenForWriting(const std::wstring& path) {
  Close();
  m_path = FullPathOf(path);
  m_file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return m_file != INVALID_HANDLE_VALUE;
}

// One WriteFile for the whole block.
std::optional<FileErrorCause> CFile::Write(std::span<const std::byte> bytes) const noexcept {
  if (m_file == INVALID_HANDLE_VALUE) {
    return FileErrorCause::InvalidFile;
  }
  if (bytes.size() > std::numeric_limits<DWORD>::max()) {
    // More than one write can carry: it cannot be stored whole.
    return FileErrorCause::DiskFull;
  }
  const auto size = static_cast<DWORD>(bytes.size());
  DWORD written = 0;
  if (WriteFile(m_file, bytes.data(), size, &written, nullptr) == FALSE) {
    const FileErrorCause cause = FileErrorCauseFromWin32(GetLastError());
    // A failure the system does not explain still stored nothing.
    return cause == FileErrorCause::None ? FileErrorCause::Generic : cause;
  }
  if (written < size) {
    return FileErrorCause::DiskFull;
  }
  return std::nullopt;
}

// Releases the handle; the path stays for the messages that name the file.
void CFile::Close() noexcept {
  if (m_file != INVALID_HANDLE_VALUE) {
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
  }
}

bool CFile::Remove(const std::wstring& path) noexcept { return DeleteFileW(path.c_str()) != FALSE; }

}  // namespace tesmirol
