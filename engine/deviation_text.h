#pragma once
// The two-decimal text of a deviation in percent, as the labels show it.

#include <string>

namespace tesmirol {

// Formats the value with two decimals, rounding on decimal digits: first to
// 17 significant digits (the 18th decides, half up), then to two decimals
// (the third decides, half up, on the magnitude). A negative value always gets
// a minus sign, even when it rounds to 0.00; an exact zero of either sign gets
// none. -18.625 gives "-18.63", -0.00347 gives "-0.00".
std::string FormatDeviation(double value);

}  // namespace tesmirol
