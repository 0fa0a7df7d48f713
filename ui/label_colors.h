#pragma once
// The colours of the result labels, as COLORREF values (0x00BBGGRR).

#include <windows.h>

namespace tesmirol {

inline constexpr COLORREF kLabelBlue = 0x00FF0000;    // a value the user can use
inline constexpr COLORREF kLabelRed = 0x000000FF;     // a value out of range or out of tolerance
inline constexpr COLORREF kLabelYellow = 0x0000FFFF;  // the crystal's baud-rate range
inline constexpr COLORREF kLabelGreen = 0x0000FF00;   // a label's text before the program colours it
inline constexpr COLORREF kLabelBlack = 0x00000000;   // a label's background when it is not transparent

}  // namespace tesmirol
