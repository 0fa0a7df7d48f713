#pragma once
// A setting's relative error |rate - baud| / baud as an exact fraction, and
// the comparison of two such fractions whose cross products would overflow
// 128 bits: the planner weighs UARTs of different rates against each other.

#include <cstdint>

#include "engine/baud_target.h"
#include "engine/exact_crystal.h"

namespace tesmirol {

__extension__ using Uint128 = unsigned __int128;

// numerator / denominator, the denominator above 0.
struct RelativeError {
  Uint128 numerator = 0;
  Uint128 denominator = 1;
};

// |2^SMOD F - baud q D n| / (baud q D n) for the setting.
RelativeError ErrorOf(const TargetSetting& setting, const ExactFrequency& frequency, std::int32_t baud);

// a < b, exactly.
bool IsLess(const RelativeError& a, const RelativeError& b);

// floor(2^SMOD F / (q D baud)): the exact divisor's whole part.
std::uint64_t ExactDivisorFloor(const ExactFrequency& frequency, std::uint32_t divider, std::uint32_t smod,
                                std::int32_t baud);

}  // namespace tesmirol
