#include "engine/reload_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace tesmirol {
namespace {

TEST(FormatReload, UpperCaseHexWithoutLeadingZerosAndNegativesAsTwosComplement) {
  struct ReloadCase {
    std::int32_t reload;
    const char* text;
  };
  constexpr std::array cases = {ReloadCase{0xFD, "0xFD"},      ReloadCase{5, "0x5"},
                                ReloadCase{0, "0x0"},          ReloadCase{0x2F, "0x2F"},
                                ReloadCase{259, "0x103"},      ReloadCase{-5, "0xFFFFFFFB"},
                                ReloadCase{-28, "0xFFFFFFE4"}, ReloadCase{INT32_MIN, "0x80000000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatReload(c.reload), c.text) << c.reload;
  }
}

}  // namespace
}  // namespace tesmirol
