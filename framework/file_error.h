#pragma once
// Why a file operation failed, in the framework's own terms, and the box that
// tells the user: the stop icon, an OK button and the framework's text for the
// cause with the file's full path in place of %1.

#include <windows.h>

#include <string>
#include <string_view>

namespace tesmirol {

// The causes the framework tells apart; each has a text of its own.
enum class FileErrorCause {
  None,
  Generic,
  FileNotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  InvalidFile,
  RemoveCurrentDir,
  DirectoryFull,
  BadSeek,
  HardIO,
  SharingViolation,
  LockViolation,
  DiskFull,
  EndOfFile,
};

// The cause that a Win32 error code stands for; codes the framework does not
// know are Generic.
FileErrorCause FileErrorCauseFromWin32(DWORD error) noexcept;

// The text for the cause with every %1 replaced by path. The path is taken as
// it is: a %1 inside it stays.
std::wstring FileErrorMessage(FileErrorCause cause, std::wstring_view path);

// Shows the framework's box for a failed operation on the file at path.
void ReportFileError(FileErrorCause cause, std::wstring_view path);

}  // namespace tesmirol
