#pragma once
// What the main dialog must show for the texts its two boxes hold, worked out
// in the test from the engine and the code generator alone, and what it does
// show, in the same form so that the two compare directly.

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "e2e/main_dialog.h"
#include "e2e/window_capture.h"

namespace tesmirol::e2e {

// The five coloured result labels, in the order their colours are kept.
inline constexpr std::array<int, 5> kColouredLabels = {control::kRange, control::kReloadSmod0, control::kDeviationSmod0,
                                                       control::kReloadSmod1, control::kDeviationSmod1};

// Every result the dialog shows: the label texts, the painted colours of the
// coloured labels (in kColouredLabels order) and the output box.
struct ResultDisplay {
  std::wstring selectedCrystal;
  std::wstring range;
  std::wstring reloadSmod0;
  std::wstring deviationSmod0;
  std::wstring reloadSmod1;
  std::wstring deviationSmod1;
  std::array<TextColour, 5> colours{};
  std::wstring output;

  bool operator==(const ResultDisplay&) const = default;
};

// Prints the display in UTF-8, the output box shortened, for failure messages.
void PrintTo(const ResultDisplay& display, std::ostream* out);

// A box's window text as the program hands it to the engine: GBK, with each
// character that GBK cannot hold (a surrogate pair counting as one) as '?'.
std::string GbkAsTheProgramReads(std::wstring_view boxText);

// The display for the crystal box and baud box texts, or no result when the
// engine calculates nothing for them; the dialog then keeps what it showed.
std::optional<ResultDisplay> ExpectedDisplay(std::wstring_view crystalBox, std::wstring_view baudBox);

// What the dialog shows now; colours are read from the screen only when asked
// for (a capture per label).
ResultDisplay ShownDisplay(const MainDialog& dialog, bool withColours);

// The painted colour of each coloured label, waiting within a bound for the
// expected ones, since painting follows an update.
std::array<TextColour, 5> WaitForLabelColours(const MainDialog& dialog, const std::array<TextColour, 5>& expected);

}  // namespace tesmirol::e2e
