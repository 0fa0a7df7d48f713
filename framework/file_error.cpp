#include "framework/file_error.h"

#include <array>
#include <cstddef>

#include "framework/message_box.h"

namespace tesmirol {
namespace {

// The texts, in the order of FileErrorCause.
constexpr std::array<std::wstring_view, 15> kTexts{
    L"无错误发生。",
    L"在对 %1 进行访问时发生了一个不明错误。",
    L"没有找到 %1。",
    L"%1 中包含无效的路径。",
    L"无法打开 %1 因为太多文件已被打开。",
    L"对 %1 的存取被拒绝。",
    L"一个无效的文件柄与 %1 相关联。",
    L"无法删除 %1 因为它是当前目录。",
    L"该目录已满，无法创建 %1。",
    L"对 %1 进行查找失败。",
    L"在存取 %1 时一个硬件输入/输出错误被报告。",
    L"在存取 %1 时发生共享违例。",
    L"在存取 %1 时发生锁违例。",
    L"在存取 %1 时磁盘已满。",
    L"试图越过其尾端对 %1 进行读写。",
};
static_assert(kTexts.size() == static_cast<std::size_t>(FileErrorCause::EndOfFile) + 1);

constexpr std::wstring_view kPathMarker = L"%1";

// The framework's text for the cause, with %1 still in it; a value outside
// the enumeration reads as unclassified.
std::wstring_view FileErrorTemplate(FileErrorCause cause) noexcept {
  const auto index = static_cast<std::size_t>(cause);
  return index < kTexts.size() ? kTexts.at(index) : kTexts.at(static_cast<std::size_t>(FileErrorCause::Generic));
}

}  // namespace

// Groups the system's many error codes by what the user can do about them.
FileErrorCause FileErrorCauseFromWin32(DWORD error) noexcept {
  switch (error) {
    case NO_ERROR:
      return FileErrorCause::None;
    case ERROR_FILE_NOT_FOUND:
      return FileErrorCause::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return FileErrorCause::BadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FileErrorCause::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileErrorCause::AccessDenied;
    case ERROR_INVALID_HANDLE:
      return FileErrorCause::InvalidFile;
    case ERROR_CURRENT_DIRECTORY:
      return FileErrorCause::RemoveCurrentDir;
    case ERROR_CANNOT_MAKE:
      return FileErrorCause::DirectoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
      return FileErrorCause::BadSeek;
    case ERROR_NOT_READY:
    case ERROR_BAD_UNIT:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
      return FileErrorCause::HardIO;
    case ERROR_SHARING_VIOLATION:
    case ERROR_SHARING_BUFFER_EXCEEDED:
      return FileErrorCause::SharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
    case ERROR_DRIVE_LOCKED:
      return FileErrorCause::LockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileErrorCause::DiskFull;
    case ERROR_HANDLE_EOF:
      return FileErrorCause::EndOfFile;
    default:
      return FileErrorCause::Generic;
  }
}

// Copies the text, putting the path wherever %1 stands; the inserted path is
// never searched again.
std::wstring FileErrorMessage(FileErrorCause cause, std::wstring_view path) {
  const std::wstring_view text = FileErrorTemplate(cause);
  std::wstring message;
  std::size_t start = 0;
  for (std::size_t marker = text.find(kPathMarker); marker != std::wstring_view::npos;
       marker = text.find(kPathMarker, start)) {
    message.append(text.substr(start, marker - start));
    message.append(path);
    start = marker + kPathMarker.size();
  }
  message.append(text.substr(start));
  return message;
}

// The stop icon: the operation the user asked for did not happen.
void ReportFileError(FileErrorCause cause, std::wstring_view path) {
  const std::wstring message = FileErrorMessage(cause, path);
  FrameworkMessageBox(message.c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace tesmirol
