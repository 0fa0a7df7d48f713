#include "engine/reload_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tesmirol {
namespace {

TEST(FormatReload, UpperCaseHexWithoutLeadingZerosAndNegativesAsTwosComplement) {
  const struct {
    std::int32_t reload;
    const char* text;
  } cases[] = {{0xFD, "0xFD"}, {5, "0x5"}, {0, "0x0"}, {0x2F, "0x2F"}, {259, "0x103"},
               {-5, "0xFFFFFFFB"}, {-28, "0xFFFFFFE4"}, {INT32_MIN, "0x80000000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatReload(c.reload), c.text) << c.reload;
  }
}

}  // namespace
}  // namespace tesmirol
