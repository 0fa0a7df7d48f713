#include "framework/module_path.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/case_name.h"

namespace tesmirol {
namespace {

struct PathCase {
  const char* name;
  const wchar_t* path;
  const wchar_t* baseName;   // the message boxes' caption
  const wchar_t* helpFile;   // the path with ".HLP"
  const wchar_t* directory;  // where the manual is written
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class ModulePath : public testing::TestWithParam<PathCase> {};

TEST_P(ModulePath, GivesBaseNameHelpFileAndDirectory) {
  EXPECT_EQ(FileBaseName(GetParam().path), GetParam().baseName);
  EXPECT_EQ(ReplaceExtension(GetParam().path, L".HLP"), GetParam().helpFile);
  EXPECT_EQ(FileDirectory(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ModulePath,
    testing::Values(
        PathCase{"Installed", L"C:\\Tools\\Tesmirol.EXE", L"Tesmirol", L"C:\\Tools\\Tesmirol.HLP", L"C:\\Tools\\"},
        PathCase{"DotInDirectoryOnly", L"C:\\v1.2\\Tesmirol", L"Tesmirol", L"C:\\v1.2\\Tesmirol.HLP", L"C:\\v1.2\\"},
        PathCase{"TwoDotsInName", L"C:\\a\\Tesmirol.old.EXE", L"Tesmirol.old", L"C:\\a\\Tesmirol.old.HLP", L"C:\\a\\"},
        PathCase{"LeadingDotIsName", L"C:\\a\\.EXE", L".EXE", L"C:\\a\\.EXE.HLP", L"C:\\a\\"},
        PathCase{"ForwardSlashes", L"Z:/home/me/build/Tesmirol.EXE", L"Tesmirol", L"Z:/home/me/build/Tesmirol.HLP",
                 L"Z:/home/me/build/"},
        PathCase{"DriveRelative", L"D:Tesmirol.exe", L"Tesmirol", L"D:Tesmirol.HLP", L"D:"},
        PathCase{"ChineseName", L"\\\\?\\C:\\\u5de5\u5177\\\u4e32\u53e3.EXE", L"\u4e32\u53e3",
                 L"\\\\?\\C:\\\u5de5\u5177\\\u4e32\u53e3.HLP", L"\\\\?\\C:\\\u5de5\u5177\\"},
        PathCase{"Empty", L"", L"", L".HLP", L""}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
