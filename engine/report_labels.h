#pragma once
// The labels the reports put before their numbers, in GBK like every other
// text the engine hands over. They are the dialog's own label texts, so the
// command line's report and the page read like the dialog.

#include <string_view>

namespace tesmirol {

// "选用晶震：" (selected crystal), followed by the frequency in hertz.
inline constexpr std::string_view kSelectedCrystalLabel = "\xD1\xA1\xD3\xC3\xBE\xA7\xD5\xF0\xA3\xBA";

// "最低：" (lowest rate the crystal supports).
inline constexpr std::string_view kMinimumLabel = "\xD7\xEE\xB5\xCD\xA3\xBA";

// "最高：" (highest rate the crystal supports).
inline constexpr std::string_view kMaximumLabel = "\xD7\xEE\xB8\xDF\xA3\xBA";

// "波特率太低" (baud rate too low for the crystal).
inline constexpr std::string_view kTooLowText = "\xB2\xA8\xCC\xD8\xC2\xCA\xCC\xAB\xB5\xCD";

// "波特率太高" (baud rate too high for the crystal).
inline constexpr std::string_view kTooHighText = "\xB2\xA8\xCC\xD8\xC2\xCA\xCC\xAB\xB8\xDF";

// "实际：" (the rate the reload really gives).
inline constexpr std::string_view kAchievedLabel = "\xCA\xB5\xBC\xCA\xA3\xBA";

// "偏差：" (deviation from the requested rate).
inline constexpr std::string_view kDeviationLabel = "\xC6\xAB\xB2\xEE\xA3\xBA";

// "（超出1%）" (beyond 1 %): stands where the dialog turns the deviation red.
inline constexpr std::string_view kOutOfToleranceMark =
    "\xA3\xA8\xB3\xAC\xB3\xF6"
    "1%\xA3\xA9";

}  // namespace tesmirol
