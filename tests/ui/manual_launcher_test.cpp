// The manual launcher's file side, against the resources of this test
// program, which carries the same compiled manual as Tesmirol.EXE.

#include "ui/manual_launcher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/module_path.h"
#include "framework/module_resource.h"

namespace tesmirol {
namespace {

class ExtractResourceToFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::array<wchar_t, MAX_PATH + 1> directory{};
    ASSERT_NE(GetTempPathW(static_cast<DWORD>(directory.size()), directory.data()), 0U);
    m_path = std::wstring(directory.data()) + L"tesmirol-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             kManualFileName;
    DeleteFileW(m_path.c_str());
  }
  void TearDown() override { DeleteFileW(m_path.c_str()); }

  [[nodiscard]] const std::wstring& Path() const { return m_path; }
  void SetPath(std::wstring path) { m_path = std::move(path); }

  [[nodiscard]] std::optional<std::vector<std::byte>> Written() const {
    std::ifstream file(m_path.c_str(), std::ios::binary);
    if (!file) {
      return std::nullopt;
    }
    std::vector<std::byte> bytes;
    for (auto it = std::istreambuf_iterator<char>(file); it != std::istreambuf_iterator<char>(); ++it) {
      bytes.push_back(static_cast<std::byte>(*it));
    }
    return bytes;
  }

 private:
  std::wstring m_path;
};

TEST_F(ExtractResourceToFileTest, WritesTheManualByteForByte) {
  const std::span<const std::byte> manual = ResourceBytes(kManualResourceType, kManualResourceName);
  ASSERT_GT(manual.size(), 4U);
  const std::array<std::byte, 4> signature{std::byte{'I'}, std::byte{'T'}, std::byte{'S'}, std::byte{'F'}};
  EXPECT_TRUE(std::ranges::equal(manual.first(4), signature));

  ASSERT_TRUE(ExtractResourceToFile(Path(), kManualResourceType, kManualResourceName));

  const std::optional<std::vector<std::byte>> written = Written();
  ASSERT_TRUE(written.has_value());
  EXPECT_TRUE(std::ranges::equal(*written, manual));
}

TEST_F(ExtractResourceToFileTest, WritesNothingForAMissingResource) {
  EXPECT_FALSE(ExtractResourceToFile(Path(), kManualResourceType, L"IDR_NO_SUCH_RESOURCE"));
  EXPECT_FALSE(Written().has_value());
}

TEST_F(ExtractResourceToFileTest, FailsSilentlyWhereTheFileCannotBeCreated) {
  SetPath(Path() + L".missing\\" + kManualFileName);
  EXPECT_FALSE(ExtractResourceToFile(Path(), kManualResourceType, kManualResourceName));
}

TEST(GetModuleDirectoryTest, IsTheExecutablesDirectoryWithItsSeparator) {
  const std::optional<std::wstring> directory = GetModuleDirectory();
  const std::optional<std::wstring> executable = ExecutablePath();
  ASSERT_TRUE(directory.has_value());
  ASSERT_TRUE(executable.has_value());
  EXPECT_EQ(directory->back(), L'\\');
  EXPECT_EQ(*executable, *directory + L"ui_tests.exe");
}

}  // namespace
}  // namespace tesmirol
