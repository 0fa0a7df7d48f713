#pragma once
// What a window shows on the screen, read back pixel by pixel: the colour of
// a label is judged from its painted text, not from what the program says
// it set.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <ostream>
#include <vector>

namespace tesmirol::e2e {

// The pixels of a window's rectangle as COLORREF values (0x00BBGGRR), row by row.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;

  // How many pixels have exactly this colour.
  [[nodiscard]] std::size_t Count(COLORREF colour) const;
};

// Copies the window's rectangle from the screen; no result when the window
// is gone or the copy fails.
std::optional<Capture> CaptureWindow(HWND window);

// The pure colour a label's text is painted in. Smoothed glyph edges blend
// into the background, but the inside of the strokes has the exact colour,
// so a label in one colour has pixels of that colour and of no other.
enum class TextColour { kNone, kBlue, kRed, kYellow, kGreen, kBlack, kMixed };

// Which of the pure colours the capture holds.
TextColour TextColourIn(const Capture& capture);

// Waits, within a bound, until the window shows its text in the expected
// colour, and returns what it shows last; painting follows the program's
// updates asynchronously.
TextColour WaitForTextColour(HWND window, TextColour expected);

// Names the colour in test failures.
std::ostream& operator<<(std::ostream& out, TextColour colour);

}  // namespace tesmirol::e2e
