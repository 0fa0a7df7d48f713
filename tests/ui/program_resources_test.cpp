// The program's resources as the resource compiler wrote them: the test
// executable carries the same resource scripts as Tesmirol.EXE and reads them
// back, so a broken generator or a text in the wrong code page shows here.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog_init_data.h"
#include "framework/module_resource.h"
#include "res/preset_lists.h"
#include "res/resource.h"

namespace tesmirol {
namespace {

// Reads the little-endian fields of a resource one after another.
class FieldReader {
 public:
  explicit FieldReader(std::span<const std::byte> data) : m_data(data) {}

  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8U)); }
  std::uint32_t Dword() { return Word() | (static_cast<std::uint32_t>(Word()) << 16U); }
  std::uint8_t Byte() { return m_pos < m_data.size() ? static_cast<std::uint8_t>(m_data[m_pos++]) : 0; }

  // A zero-terminated UTF-16 text, or an ordinal (0xFFFF then a number) as "#n".
  std::wstring TextOrOrdinal() {
    std::wstring text;
    std::uint16_t unit = Word();
    if (unit == 0xFFFF) {
      return L"#" + std::to_wstring(Word());
    }
    for (; unit != 0; unit = Word()) {
      text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
  }

 private:
  std::span<const std::byte> m_data;
  std::size_t m_pos = 0;
};

// The strings of every item for one control, in order.
std::vector<std::wstring> ItemsFor(const std::vector<DialogInitItem>& items, int controlId) {
  std::vector<std::wstring> texts;
  for (const DialogInitItem& item : items) {
    if (item.controlId == controlId) {
      EXPECT_EQ(item.message, static_cast<unsigned int>(CB_ADDSTRING));
      texts.push_back(item.text);
    }
  }
  return texts;
}

// The list file's entries as window texts.
std::vector<std::wstring> Widened(std::span<const std::string_view> entries) {
  std::vector<std::wstring> texts(entries.size());
  std::transform(entries.begin(), entries.end(), texts.begin(),
                 [](std::string_view entry) { return std::wstring(entry.begin(), entry.end()); });
  return texts;
}

TEST(ProgramResources, PresetListsAreTheListFileInOrder) {
  const auto items = ParseDialogInitData(ResourceBytes(MAKEINTRESOURCEW(RT_DIALOG_INIT), MAKEINTRESOURCEW(IDD_MAIN)));
  ASSERT_TRUE(items.has_value());
  const std::vector<std::wstring> crystals = ItemsFor(*items, IDC_CRYSTAL);
  const std::vector<std::wstring> bauds = ItemsFor(*items, IDC_BAUD);
  EXPECT_EQ(crystals.size(), 252U);
  EXPECT_EQ(bauds.size(), 17U);
  EXPECT_EQ(crystals, Widened(CrystalPresets()));
  EXPECT_EQ(bauds, Widened(BaudPresets()));
  EXPECT_EQ(crystals.size() + bauds.size(), items->size());
}

TEST(ProgramResources, DialogCaptionFontAndControls) {
  FieldReader reader(ResourceBytes(MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_MAIN)));  // RT_DIALOG
  ASSERT_EQ(reader.Word(), 1);                                                         // extended template
  ASSERT_EQ(reader.Word(), 0xFFFF);                                                    // its signature
  reader.Dword();                                                                      // help id
  EXPECT_EQ(reader.Dword(), static_cast<std::uint32_t>(WS_EX_APPWINDOW));
  EXPECT_EQ(reader.Dword(),
            static_cast<std::uint32_t>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(reader.Word(), 19);  // controls
  reader.Word();
  reader.Word();
  EXPECT_EQ(reader.Word(), 425);
  EXPECT_EQ(reader.Word(), 377);
  EXPECT_EQ(reader.TextOrOrdinal(), L"");  // no menu
  EXPECT_EQ(reader.TextOrOrdinal(), L"");  // the standard dialog class
  EXPECT_EQ(reader.TextOrOrdinal(), L"单片机串口初始化程序自动生成器");
  EXPECT_EQ(reader.Word(), 9);  // points
  reader.Word();
  reader.Byte();
  reader.Byte();
  EXPECT_EQ(reader.TextOrOrdinal(), L"宋体");
}

TEST(ProgramResources, IconGroupHoldsThreeSixteenColourImages) {
  FieldReader reader(ResourceBytes(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(IDR_MAINFRAME)));  // RT_GROUP_ICON
  reader.Word();
  ASSERT_EQ(reader.Word(), 1);  // icons
  ASSERT_EQ(reader.Word(), 3);
  for (const int size : {48, 32, 16}) {
    EXPECT_EQ(reader.Byte(), size);
    EXPECT_EQ(reader.Byte(), size);
    EXPECT_EQ(reader.Byte(), 16);  // colours
    reader.Byte();
    reader.Word();                // planes
    EXPECT_EQ(reader.Word(), 4);  // bits per pixel
    reader.Dword();
    reader.Word();
  }
}

// A string of the version record's Chinese (PRC), Unicode block.
std::optional<std::wstring> VersionString(std::span<const std::byte> record, const std::wstring& name) {
  std::vector<std::byte> copy(record.begin(), record.end());
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\080404B0\\" + name;
  if (VerQueryValueW(copy.data(), path.c_str(), &value, &length) == FALSE || length == 0) {
    return std::nullopt;
  }
  return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(ProgramResources, VersionRecord) {
  const std::span<const std::byte> record = ResourceBytes(MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));  // RT_VERSION
  ASSERT_FALSE(record.empty());
  EXPECT_EQ(VersionString(record, L"FileDescription"), L"单片机串口初始化程序自动生成器");
  EXPECT_EQ(VersionString(record, L"ProductName"), L"Tesmirol 应用程序");
  EXPECT_EQ(VersionString(record, L"FileVersion"), L"2010, 5, 1, 1");
  EXPECT_EQ(VersionString(record, L"ProductVersion"), L"1, 0, 0, 1");
  EXPECT_EQ(VersionString(record, L"InternalName"), L"Tesmirol");
  EXPECT_EQ(VersionString(record, L"OriginalFilename"), L"Tesmirol.EXE");

  std::vector<std::byte> copy(record.begin(), record.end());
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", &value, &length));
  VS_FIXEDFILEINFO fixed{};
  std::memcpy(&fixed, value, sizeof(fixed));
  EXPECT_EQ(fixed.dwFileVersionMS, (2010U << 16U) | 5U);
  EXPECT_EQ(fixed.dwFileVersionLS, (1U << 16U) | 1U);
  EXPECT_EQ(fixed.dwProductVersionMS, 1U << 16U);
  EXPECT_EQ(fixed.dwProductVersionLS, 1U);
}

}  // namespace
}  // namespace tesmirol
