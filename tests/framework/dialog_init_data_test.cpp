#include "framework/dialog_init_data.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "support/case_name.h"

namespace tesmirol {
namespace {

// The bytes of a resource written as 16-bit little-endian units, as the
// resource compiler lays them out.
std::vector<std::byte> Units(std::initializer_list<std::uint16_t> units) {
  std::vector<std::byte> bytes;
  for (const std::uint16_t unit : units) {
    bytes.push_back(static_cast<std::byte>(unit & 0xFFU));
    bytes.push_back(static_cast<std::byte>(unit >> 8U));
  }
  return bytes;
}

constexpr std::uint16_t kAddString = 0x0143;

TEST(DialogInitData, ReadsRecordsInOrderUpToTheEndMark) {
  const auto items = ParseDialogInitData(Units({1000, kAddString, 4, '6', 'M', 'H', 'z',  //
                                                1001, kAddString, 3, '1', '1', '0',       //
                                                1000, kAddString, 4, '6', 'M', 'H', 'z',  //
                                                0}));
  ASSERT_TRUE(items.has_value());
  const std::vector<DialogInitItem> expected{
      {1000, kAddString, L"6MHz"}, {1001, kAddString, L"110"}, {1000, kAddString, L"6MHz"}};
  EXPECT_EQ(*items, expected);
}

TEST(DialogInitData, KeepsCharactersBeyondAscii) {
  // "晶震" as UTF-16.
  const auto items = ParseDialogInitData(Units({1005, 0x000C, 2, 0x6676, 0x9707, 0}));
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 1U);
  EXPECT_EQ(items->front().text, L"\u6676\u9707");
  EXPECT_EQ(items->front().message, 0x000CU);
}

TEST(DialogInitData, ReadsTheNoIdentifierValueAsMinusOne) {
  const auto items = ParseDialogInitData(Units({0xFFFF, kAddString, 1, 'x', 0}));
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 1U);
  EXPECT_EQ(items->front().controlId, -1);
}

TEST(DialogInitData, IgnoresWhatFollowsTheEndMark) {
  std::vector<std::byte> bytes = Units({1000, kAddString, 0, 0, 0xABCD});
  bytes.push_back(std::byte{0x7F});
  const auto items = ParseDialogInitData(bytes);
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 1U);
  EXPECT_EQ(items->front().text, L"");
}

struct DamagedCase {
  const char* name;
  std::vector<std::byte> bytes;
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class DamagedDialogInitData : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedDialogInitData, GivesNoResult) { EXPECT_FALSE(ParseDialogInitData(GetParam().bytes).has_value()); }

INSTANTIATE_TEST_SUITE_P(Cases, DamagedDialogInitData,
                         testing::Values(DamagedCase{"Empty", {}},
                                         DamagedCase{"NoEndMark", Units({1000, kAddString, 1, 'a'})},
                                         DamagedCase{"TextCutShort", Units({1000, kAddString, 4, 'a', 'b'})},
                                         DamagedCase{"RecordCutAfterId", Units({1000})},
                                         DamagedCase{"RecordCutAfterMessage", Units({1000, kAddString})},
                                         DamagedCase{"HalfAUnit", {std::byte{0x00}}}),
                         testing_support::CaseName());

}  // namespace
}  // namespace tesmirol
