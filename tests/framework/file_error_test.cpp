#include "framework/file_error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct MessageCase {
  const char* name;
  FileErrorCause cause;
  const wchar_t* path;
  const wchar_t* message;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class FileErrorMessageTest : public testing::TestWithParam<MessageCase> {};

TEST_P(FileErrorMessageTest, PutsThePathInPlaceOfTheMarker) {
  EXPECT_EQ(FileErrorMessage(GetParam().cause, GetParam().path), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FileErrorMessageTest,
    testing::Values(
        MessageCase{"DiskFull", FileErrorCause::DiskFull, L"C:\\Tools\\QuelvanHelp.chm",
                    L"在存取 C:\\Tools\\QuelvanHelp.chm 时磁盘已满。"},
        MessageCase{"PathFirst", FileErrorCause::BadPath, L"Q:\\x", L"Q:\\x 中包含无效的路径。"},
        MessageCase{"PathLast", FileErrorCause::DirectoryFull, L"D:\\a.chm", L"该目录已满，无法创建 D:\\a.chm。"},
        MessageCase{"MarkerInPathStays", FileErrorCause::AccessDenied, L"C:\\%1\\a", L"对 C:\\%1\\a 的存取被拒绝。"},
        MessageCase{"ChinesePath", FileErrorCause::SharingViolation, L"C:\\工具\\手册.chm",
                    L"在存取 C:\\工具\\手册.chm 时发生共享违例。"},
        MessageCase{"NoMarker", FileErrorCause::None, L"C:\\a", L"无错误发生。"},
        MessageCase{"EmptyPath", FileErrorCause::EndOfFile, L"", L"试图越过其尾端对  进行读写。"},
        MessageCase{"UnknownCauseIsUnclassified", static_cast<FileErrorCause>(99), L"C:\\a",
                    L"在对 C:\\a 进行访问时发生了一个不明错误。"}),
    testing_support::CaseName());

struct Win32Case {
  const char* name;
  DWORD error;
  FileErrorCause cause;
};

void PrintTo(const Win32Case& c, std::ostream* os) { *os << c.name; }

class FileErrorCauseTest : public testing::TestWithParam<Win32Case> {};

TEST_P(FileErrorCauseTest, ClassifiesTheSystemsError) {
  EXPECT_EQ(FileErrorCauseFromWin32(GetParam().error), GetParam().cause);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FileErrorCauseTest,
    testing::Values(Win32Case{"NoError", NO_ERROR, FileErrorCause::None},
                    Win32Case{"DiskFull", ERROR_DISK_FULL, FileErrorCause::DiskFull},
                    Win32Case{"HandleDiskFull", ERROR_HANDLE_DISK_FULL, FileErrorCause::DiskFull},
                    Win32Case{"FileNotFound", ERROR_FILE_NOT_FOUND, FileErrorCause::FileNotFound},
                    Win32Case{"PathNotFound", ERROR_PATH_NOT_FOUND, FileErrorCause::BadPath},
                    Win32Case{"NameTooLong", ERROR_FILENAME_EXCED_RANGE, FileErrorCause::BadPath},
                    Win32Case{"AccessDenied", ERROR_ACCESS_DENIED, FileErrorCause::AccessDenied},
                    Win32Case{"WriteProtected", ERROR_WRITE_PROTECT, FileErrorCause::AccessDenied},
                    Win32Case{"SharingViolation", ERROR_SHARING_VIOLATION, FileErrorCause::SharingViolation},
                    Win32Case{"LockViolation", ERROR_LOCK_VIOLATION, FileErrorCause::LockViolation},
                    Win32Case{"DeviceFault", ERROR_WRITE_FAULT, FileErrorCause::HardIO},
                    Win32Case{"TooManyOpen", ERROR_TOO_MANY_OPEN_FILES, FileErrorCause::TooManyOpenFiles},
                    Win32Case{"EndOfFile", ERROR_HANDLE_EOF, FileErrorCause::EndOfFile},
                    Win32Case{"Unknown", ERROR_NOT_SUPPORTED, FileErrorCause::Generic}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
