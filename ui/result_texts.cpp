#include "ui/result_texts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "engine/deviation_text.h"
#include "ui/label_colors.h"

namespace tesmirol {
namespace {

// An ASCII number text as a window text.
std::wstring Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

// Signed decimal digits, independent of the C locale.
std::wstring DecimalText(std::int32_t value) {
  std::array<char, 16> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return Widen(std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
}

// Upper-case hexadecimal digits without leading zeros.
std::wstring HexText(std::uint32_t value) {
  std::array<char, 16> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
  std::wstring text = Widen(std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t digit) {
    return digit >= L'a' && digit <= L'f' ? static_cast<wchar_t>(digit - L'a' + L'A') : digit;
  });
  return text;
}

// The reload label of one SMOD setting. The status compares the achieved
// rate with the crystal's whole range, so a reload below zero can still be in
// range (SMOD = 1 reaching a rate SMOD = 0 cannot); it then shows as its
// 32-bit two's complement, 0xFFFFFFE4 for -28.
LabelContent ReloadLabel(const ModeResult& mode) {
  switch (mode.status) {
    case ModeStatus::TooLow:
      return {kLabelRed, L"波特率太低"};
    case ModeStatus::TooHigh:
      return {kLabelRed, L"波特率太高"};
    case ModeStatus::Ok:
      break;
  }
  return {kLabelBlue, L"TH = 0x" + HexText(static_cast<std::uint32_t>(mode.reload))};
}

// The deviation label of one SMOD setting.
LabelContent DeviationLabel(const ModeResult& mode) {
  return {IsOutOfTolerance(mode) ? kLabelRed : kLabelBlue, L"偏差：" + Widen(FormatDeviation(mode.deviation)) + L"%"};
}

}  // namespace

// Formats every label from the one calculation.
ResultTexts DescribeResults(const BaudCalculation& calculation) {
  ResultTexts texts;
  texts.selectedCrystal = L"选用晶震：" + DecimalText(calculation.crystalHz) + L" Hz";
  texts.range = L"最低：" + DecimalText(calculation.minBps) + L"bps  最高：" + DecimalText(calculation.maxBps) + L"bps";
  for (std::size_t smod = 0; smod < calculation.mode.size(); ++smod) {
    texts.reload.at(smod) = ReloadLabel(calculation.mode.at(smod));
    texts.deviation.at(smod) = DeviationLabel(calculation.mode.at(smod));
  }
  return texts;
}

}  // namespace tesmirol
