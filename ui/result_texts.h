#pragma once
// What the main dialog shows for one calculation: the text and colour of
// every result label, worked out from the engine's numbers alone.

#include <windows.h>

#include <array>
#include <string>

#include "engine/baud_calculation.h"

namespace tesmirol {

// The colour and the text of one coloured label.
struct LabelContent {
  COLORREF color = 0;
  std::wstring text;

  bool operator==(const LabelContent&) const = default;
};

// Every result text of the dialog; the arrays are indexed by SMOD.
struct ResultTexts {
  std::wstring selectedCrystal;           // "选用晶震：11059200 Hz"
  std::wstring range;                     // "最低：112bps  最高：57600bps"
  std::array<LabelContent, 2> reload;     // "TH = 0xFD", or the rate is too low or too high
  std::array<LabelContent, 2> deviation;  // "偏差：0.00%"
};

// The texts and colours for the calculation: a reload in blue, or the
// too-low or too-high text in red; a deviation in red when it is out of
// tolerance, else in blue.
ResultTexts DescribeResults(const BaudCalculation& calculation);

}  // namespace tesmirol
