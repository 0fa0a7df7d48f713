#include <windows.h>

#include <array>
#include <filesystem>
#include <string>

#include "cli/atomic_file_writer.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {
namespace {

// The reason for the last error: the common ones in the language, the
// others as the system describes them, on one line.
std::string LastError(Language language) {
  const DWORD code = GetLastError();
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
      return Utf8Text(language, TextKey::FileReasonNotFound);
    case ERROR_ACCESS_DENIED:
      return Utf8Text(language, TextKey::FileReasonNoPermission);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return Utf8Text(language, TextKey::FileReasonDiskFull);
    case ERROR_WRITE_PROTECT:
      return Utf8Text(language, TextKey::FileReasonReadOnly);
    default:
      break;
  }
  std::array<char, 512> buffer{};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
  std::string message(buffer.data(), length);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : message;
}

// The UTF-8 path as UTF-16; no result when it is not UTF-8.
std::optional<std::wstring> WidePath(const std::string& path) {
  if (path.empty()) {
    return std::wstring();
  }
  const int size = static_cast<int>(path.size());
  const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (needed <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), needed);
  return wide;
}

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) noexcept : m_handle(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&&) = delete;
  FileHandle& operator=(FileHandle&&) = delete;

  [[nodiscard]] bool IsValid() const noexcept { return m_handle != INVALID_HANDLE_VALUE; }
  [[nodiscard]] HANDLE Get() const noexcept { return m_handle; }

  // Closes the handle; false when closing fails.
  bool Close() noexcept {
    if (m_handle == INVALID_HANDLE_VALUE) {
      return true;
    }
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE m_handle;
};

// Deletes the temporary file when it goes out of scope, unless it was moved
// into place.
class TemporaryFileName {
 public:
  explicit TemporaryFileName(std::wstring name) : m_name(std::move(name)) {}
  ~TemporaryFileName() {
    if (!m_moved) {
      DeleteFileW(m_name.c_str());
    }
  }
  TemporaryFileName(const TemporaryFileName&) = delete;
  TemporaryFileName& operator=(const TemporaryFileName&) = delete;
  TemporaryFileName(TemporaryFileName&&) = delete;
  TemporaryFileName& operator=(TemporaryFileName&&) = delete;

  [[nodiscard]] const wchar_t* Get() const noexcept { return m_name.c_str(); }
  void MarkMoved() noexcept { m_moved = true; }

 private:
  std::wstring m_name;
  bool m_moved = false;
};

// Writes all the bytes, in pieces that a DWORD can count.
bool WriteAll(HANDLE file, std::string_view bytes) {
  constexpr std::size_t kPiece = 1U << 20U;
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(bytes.size() < kPiece ? bytes.size() : kPiece);
    DWORD written = 0;
    if (WriteFile(file, bytes.data(), piece, &written, nullptr) == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes, Language language) {
  const auto target = WidePath(path);
  if (!target) {
    return Utf8Text(language, TextKey::FileNameNotUtf8, {{"path", path}});
  }
  std::filesystem::path folder = std::filesystem::path(*target).parent_path();
  if (folder.empty()) {
    folder = L".";
  }
  // GetTempFileNameW creates the file under a name no other run can take.
  std::array<wchar_t, MAX_PATH> temporaryName{};
  if (GetTempFileNameW(folder.c_str(), L"tsm", 0, temporaryName.data()) == 0) {
    return Utf8Text(language, TextKey::FileCannotCreateTemporary, {{"path", path}, {"reason", LastError(language)}});
  }
  TemporaryFileName temporary(temporaryName.data());
  FileHandle file(
      CreateFileW(temporary.Get(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid() || !WriteAll(file.Get(), bytes) || FlushFileBuffers(file.Get()) == 0 || !file.Close()) {
    return Utf8Text(language, TextKey::FileCannotWrite, {{"path", path}, {"reason", LastError(language)}});
  }
  if (MoveFileExW(temporary.Get(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    return Utf8Text(language, TextKey::FileCannotReplace, {{"path", path}, {"reason", LastError(language)}});
  }
  temporary.MarkMoved();
  return std::nullopt;
}

namespace {

bool IsSeparator(wchar_t character) noexcept { return character == L'/' || character == L'\\'; }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Where the folders that may be made begin: after "\\server\share" of a
// network path (those two are never made), at the start otherwise.
std::size_t FirstMadeFolder(const std::wstring& path) {
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) {
    return 0;
  }
  std::size_t separators = 0;
  for (std::size_t index = 2; index < path.size(); ++index) {
    if (IsSeparator(path[index]) && ++separators == 2) {
      return index + 1;
    }
  }
  return path.size();
}

}  // namespace

std::optional<std::string> CreateFolders(const std::string& path, Language language) {
  const auto wide = WidePath(path);
  if (!wide) {
    return Utf8Text(language, TextKey::FileNameNotUtf8, {{"path", path}});
  }
  for (std::size_t end = FirstMadeFolder(*wide); end <= wide->size(); ++end) {
    if (end < wide->size() && !IsSeparator((*wide)[end])) {
      continue;
    }
    const std::wstring prefix = wide->substr(0, end);
    if (prefix.empty() || prefix.back() == L':' || IsFolder(prefix)) {
      continue;
    }
    if (CreateDirectoryW(prefix.c_str(), nullptr) != 0) {
      continue;
    }
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(prefix.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;  // made meanwhile by another program
    }
    // A file of that name is in the way: Windows says only that it exists.
    SetLastError(error);
    const std::string reason =
        attributes != INVALID_FILE_ATTRIBUTES ? Utf8Text(language, TextKey::FileReasonNotAFolder) : LastError(language);
    return Utf8Text(language, TextKey::FileCannotCreateFolder, {{"path", path}, {"reason", reason}});
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
