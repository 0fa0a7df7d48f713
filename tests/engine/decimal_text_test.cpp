// DecimalText writes rates with its own formatting rather than std::to_chars
// (whose fixed-form tables would weigh some 40 KB in the page's module); it
// must give the same bytes as std::to_chars did for every rate.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "engine/target_texts.h"

namespace tesmirol {
namespace {

// What DecimalText gave before: the rate rounded to hundredths, in the
// shortest fixed form that reads back.
std::string ToCharsText(double value) {
  std::array<char, 400> buffer{};
  const double rounded = std::round(value * 100.0) / 100.0;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed);
  return {buffer.data(), result.ptr};
}

TEST(DecimalText, EdgeValuesMatchToChars) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const std::array values = {0.0,
                             -0.0,
                             -0.001,
                             0.004999,
                             0.005,
                             0.015,
                             0.125,
                             1.005,
                             2.675,
                             9615.384615384615,
                             -9615.384615384615,
                             115200.0,
                             99.995,
                             99.994999,
                             999999.995,
                             1e15 - 0.25,
                             70368744177663.99,  // just under 2^46
                             70368744177664.01,
                             2251799813685248.25,  // 2^51 + 1/4: a tie between .2 and .3
                             4503599627370495.5,   // 2^52 - 1/2
                             9007199254740991.0,   // 2^53 - 1
                             9007199254740993.0,
                             18446744073709551615.0,  // UINT64_MAX, which rounds to 2^64
                             1e22,
                             1e23,
                             -1e23,
                             1.7976931348623157e306,
                             1.7976931348623157e308,
                             kInf,
                             -kInf,
                             kNan,
                             -kNan};
  for (const double value : values) {
    EXPECT_EQ(DecimalText(value), ToCharsText(value)) << std::hexfloat << value;
  }
}

// Every value of dense sweeps and random draws over the ranges rates take
// (a fraction of two 64-bit integers) and beyond, where doubles are too
// coarse for hundredths.
TEST(DecimalText, SweepsMatchToChars) {
  struct Sweep {
    const char* name;
    int count;
    std::function<double(int, std::mt19937_64&)> value;
  };
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const std::array sweeps = {
      Sweep{"every hundredth and the halves between them to 20000", 4000000,
            [](int index, std::mt19937_64&) { return index / 200.0; }},
      Sweep{"hundredths and halves near powers of ten", 2000,
            [](int index, std::mt19937_64&) { return std::pow(10.0, index / 100) + (index % 100 - 50) * 0.005; }},
      Sweep{"exact rates: numerator / denominator", 500000,
            [](int, std::mt19937_64& random) {
              const std::uint64_t numerator = random() >> (random() % 64);
              const std::uint64_t denominator = (random() >> (random() % 64)) | 1U;
              return static_cast<double>(numerator) / static_cast<double>(denominator);
            }},
      Sweep{"from 1e-3 to 1e25, even in the logarithm", 500000,
            [&unit](int, std::mt19937_64& random) { return std::pow(10.0, -3.0 + 28.0 * unit(random)); }},
      Sweep{"2^46 to 2^53, where doubles are coarser than hundredths", 500000,
            [&unit](int, std::mt19937_64& random) { return std::ldexp(1.0, 46) * std::pow(2.0, 7.0 * unit(random)); }},
      Sweep{"negatives", 200000,
            [&unit](int, std::mt19937_64& random) { return -std::pow(10.0, -3.0 + 22.0 * unit(random)); }},
  };
  for (const Sweep& sweep : sweeps) {
    // The same draws every run, so that a failure repeats.
    std::mt19937_64 random(20261209);  // NOLINT(cert-msc32-c,cert-msc51-cpp,bugprone-random-generator-seed)
    int mismatches = 0;
    for (int index = 0; index < sweep.count && mismatches < 5; ++index) {
      const double value = sweep.value(index, random);
      const std::string expected = ToCharsText(value);
      if (DecimalText(value) != expected) {
        ADD_FAILURE() << sweep.name << ": " << std::hexfloat << value << " gives " << DecimalText(value) << ", not "
                      << expected;
        ++mismatches;
      }
    }
  }
}

}  // namespace
}  // namespace tesmirol
