// The manual launcher's file side, in this test program's own module.

#include "ui/manual_launcher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tesmirol {
namespace {

// Without the resource there is nothing to write: no empty or partial file
// may appear for the shell to open later as the manual.
TEST(ExtractResourceToFileTest, CreatesNoFileForAMissingResource) {
  std::array<wchar_t, MAX_PATH + 1> directory{};
  ASSERT_NE(GetTempPathW(static_cast<DWORD>(directory.size()), directory.data()), 0U);
  const std::wstring path =
      std::wstring(directory.data()) + L"tesmirol-" + std::to_wstring(GetCurrentProcessId()) + L"-" + kManualFileName;
  DeleteFileW(path.c_str());

  EXPECT_FALSE(ExtractResourceToFile(path, kManualResourceType, L"IDR_NO_SUCH_RESOURCE"));
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace tesmirol
