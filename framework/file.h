#pragma once
// CFile: one file on disk, open for as long as the object holds it. The
// framework's file class: it opens, writes whole blocks and closes, and says
// why a write failed in the framework's terms (FileErrorCause).

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "framework/file_error.h"

namespace tesmirol {

class CFile {
 public:
  CFile() noexcept = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  CFile(CFile&&) = delete;
  CFile& operator=(CFile&&) = delete;
  // Closes the file if it is still open.
  ~CFile();

  // Opens the file at path for writing only, in binary, shared with no one,
  // creating it or truncating the file that is there. False when it cannot
  // be opened; the object then holds no file.
  bool OpenForWriting(const std::wstring& path);

  // Writes all the bytes in one write. No result when every byte was
  // stored; otherwise why not. A write that stores fewer bytes than asked is
  // a full disk.
  [[nodiscard]] std::optional<FileErrorCause> Write(std::span<const std::byte> bytes) const noexcept;

  // Closes the file; nothing happens when none is open.
  void Close() noexcept;

  // The full path of the file last opened, the one the framework's messages
  // name.
  [[nodiscard]] const std::wstring& GetFilePath() const noexcept { return m_path; }

  // Deletes the file at path; false when it cannot be deleted.
  static bool Remove(const std::wstring& path) noexcept;

 private:
  HANDLE m_file = INVALID_HANDLE_VALUE;
  std::wstring m_path;
};

}  // namespace tesmirol
