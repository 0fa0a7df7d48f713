#include "framework/file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tesmirol {
namespace {

// A file in the temporary directory, removed after the test.
class CFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::array<wchar_t, MAX_PATH + 1> directory{};
    ASSERT_NE(GetTempPathW(static_cast<DWORD>(directory.size()), directory.data()), 0U);
    std::array<wchar_t, MAX_PATH + 1> name{};
    ASSERT_NE(GetTempFileNameW(directory.data(), L"tsm", 0, name.data()), 0U);
    m_path = name.data();
  }
  void TearDown() override { DeleteFileW(m_path.c_str()); }

  [[nodiscard]] const std::wstring& Path() const { return m_path; }

  [[nodiscard]] std::string Content() const {
    const std::ifstream file(m_path.c_str(), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
  }

 private:
  std::wstring m_path;
};

std::vector<std::byte> BytesOf(std::string_view text) {
  std::vector<std::byte> bytes;
  for (const char c : text) {
    bytes.push_back(static_cast<std::byte>(c));
  }
  return bytes;
}

TEST_F(CFileTest, WritesTheBytesOverWhatWasThere) {
  {
    std::ofstream old(Path().c_str(), std::ios::binary);
    old << "a much longer text that was there before";
  }
  CFile file;
  ASSERT_TRUE(file.OpenForWriting(Path()));
  EXPECT_EQ(file.Write(BytesOf(std::string_view("ITSF\0\r\n", 7))), std::nullopt);
  file.Close();
  EXPECT_EQ(Content(), std::string("ITSF\0\r\n", 7));
}

TEST_F(CFileTest, KeepsOthersOutWhileOpen) {
  CFile first;
  ASSERT_TRUE(first.OpenForWriting(Path()));
  CFile second;
  EXPECT_FALSE(second.OpenForWriting(Path()));
  first.Close();
  EXPECT_TRUE(second.OpenForWriting(Path()));
}

TEST_F(CFileTest, NamesTheFileByItsFullPath) {
  std::array<wchar_t, MAX_PATH + 1> current{};
  ASSERT_NE(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()), 0U);
  const std::wstring directory = Path().substr(0, Path().find_last_of(L'\\'));
  ASSERT_NE(SetCurrentDirectoryW(directory.c_str()), FALSE);
  CFile file;
  const bool opened = file.OpenForWriting(Path().substr(directory.size() + 1));
  SetCurrentDirectoryW(current.data());
  ASSERT_TRUE(opened);
  EXPECT_EQ(file.GetFilePath(), Path());
}

}  // namespace
}  // namespace tesmirol
