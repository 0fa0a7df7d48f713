#include "engine/relative_error.h"

#include <algorithm>

namespace tesmirol {
namespace {

// The ordering of a/b and c/d (b, d above 0) by their continued fractions:
// whole parts first, then the reciprocals of the remainders, which reverses
// the order. No product is formed, so nothing overflows.
int CompareFractions(Uint128 a, Uint128 b, Uint128 c, Uint128 d) {
  int sign = 1;
  while (true) {
    const Uint128 wholeA = a / b;
    const Uint128 wholeC = c / d;
    if (wholeA != wholeC) {
      return wholeA < wholeC ? -sign : sign;
    }
    const Uint128 restA = a % b;
    const Uint128 restC = c % d;
    if (restA == 0 || restC == 0) {
      if (restA == restC) {
        return 0;
      }
      return restA == 0 ? -sign : sign;
    }
    // a/b - whole = restA/b; compare b/restA with d/restC, order reversed.
    a = b;
    b = restA;
    std::swap(c, d);
    d = restC;
    sign = -sign;
  }
}

}  // namespace

RelativeError ErrorOf(const TargetSetting& setting, const ExactFrequency& frequency, std::int32_t baud) {
  const Uint128 rateNumerator = (Uint128{frequency.numerator} << setting.smod) * setting.multiplier;
  const Uint128 wanted =
      Uint128{frequency.denominator} * setting.divider * setting.divisor * static_cast<std::uint32_t>(baud);
  RelativeError error;
  error.numerator = rateNumerator > wanted ? rateNumerator - wanted : wanted - rateNumerator;
  error.denominator = std::max<Uint128>(wanted, 1);
  return error;
}

bool IsLess(const RelativeError& a, const RelativeError& b) {
  return CompareFractions(a.numerator, a.denominator, b.numerator, b.denominator) < 0;
}

std::uint64_t ExactDivisorFloor(const ExactFrequency& frequency, std::uint32_t divider, std::uint32_t smod,
                                std::int32_t baud) {
  const Uint128 numerator = Uint128{frequency.numerator} << smod;
  const Uint128 denominator = Uint128{frequency.denominator} * divider * static_cast<std::uint32_t>(std::max(baud, 1));
  const Uint128 floor = numerator / denominator;
  // Beyond any register: the caller clamps to its width.
  return floor > Uint128{1} << 40U ? std::uint64_t{1} << 40U : static_cast<std::uint64_t>(floor);
}

}  // namespace tesmirol
